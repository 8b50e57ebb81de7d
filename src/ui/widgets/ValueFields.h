#pragma once

#include <QString>

class QItemEditorFactory;
class QLineEdit;

// What every editor of a stored value needs so that the value survives it whole.
//
// A QLineEdit cuts its text at 32,767 characters unless told otherwise, on setText as on typing
// and pasting; a note or a job title from an imported card can be longer. A QPlainTextEdit gives
// its text back with CR LF and lone CR line ends turned into LF; an edit of such a value keeps the
// characters the user did not touch as they were stored.
namespace ValueFields {

// QLineEdit's own limit, which a field keeps until told otherwise.
constexpr int DefaultMaxLength = 32767;

// Lifts the field's length limit; a limit set on purpose (a four-digit year) stays.
void takeWholeValues(QLineEdit *field);

// For a delegate's setItemEditorFactory: the usual editors, their line fields without the limit.
// Shared, never deleted.
QItemEditorFactory *itemEditorFactory();

// The value an editor's text stands for. shownOriginal is the text the editor showed for original
// before any edit: when edited equals it, original comes back as it was; otherwise the part of
// original before and after the changed middle is kept as stored and the middle is taken from
// edited whole. Linear in the lengths.
QString valueFromEditedText(const QString &original, const QString &shownOriginal, const QString &edited);

} // namespace ValueFields
