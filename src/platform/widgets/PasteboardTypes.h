#pragma once

#include <QString>

class QMimeData;

// The program's pasteboard type names and the MIME types they travel as. Known public types map
// to their registered MIME types; any other (private) type name travels as
// "application/x-" followed by its name in lower case ("QN1PstringIndexes" as
// "application/x-qn1pstringindexes").
namespace PasteboardTypes {

inline const QString String = QStringLiteral("public.utf8-plain-text");
inline const QString VCard = QStringLiteral("public.vcard");
inline const QString FileURL = QStringLiteral("public.file-url");
inline const QString TabSeparatedText = QStringLiteral("public.utf8-tab-separated-values-text");
inline const QString CommaSeparatedText = QStringLiteral("public.comma-separated-values-text");
inline const QString PNG = QStringLiteral("public.png");
inline const QString StringIndexes = QStringLiteral("QN1PstringIndexes");
inline const QString LabelIndex = QStringLiteral("labelIndex");
inline const QString Identifier = QStringLiteral("identifier");
inline const QString TIFF = QStringLiteral("public.tiff");
// The position of a dragged value in its field's list, which survives the dragged contact's trip
// through vCard text (its "labelIndex" does not).
inline const QString ValuePosition = QStringLiteral("QN1PvaluePosition");

QString mimeType(const QString &pasteboardType);

bool hasType(const QMimeData *data, const QString &pasteboardType);

// Text is stored as UTF-8; a file URL is stored as the data's URL list and read back as the
// first URL in text form.
void setString(QMimeData *data, const QString &pasteboardType, const QString &text);
QString string(const QMimeData *data, const QString &pasteboardType);

} // namespace PasteboardTypes
