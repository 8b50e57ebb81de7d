#pragma once

#include "panels/QRSelectionRow.h"

#include <QList>
#include <QString>

#include <optional>

class QNPerson;

// The payload formats of the sheet, in the order its popup lists them.
enum class QRFormat
{
    Docomo,
    Au,
    SoftBank,
    Phone,
    Email,
    URL,
    VCard
};

// What a payload reads of the contact itself; the chosen values come from the selection rows.
struct QRContactValues
{
    // The display name; "No Name" rather than empty.
    QString name;
    QString firstName;
    QString lastName;
    // The phonetic name's parts and one-line text; absent when the contact has none.
    std::optional<QString> phoneticFirstName;
    std::optional<QString> phoneticLastName;
    QString phonetic;
    QString company;
    QString department;
    QString jobTitle;

    static QRContactValues fromPerson(QNPerson &person);
};

// The texts a QR code is made from: MECARD ("docomo"), the carriers' "MEMORY:" address book
// ("au", "SoftBank"), tel:, mailto: and http: URIs, and a minimal vCard 3.0.
//
// No value can start a property of its own: MECARD escapes "\" and ";", vCard escapes "\", ";"
// and ",", and a line break inside a value becomes a blank (MECARD, MEMORY, URIs) or "\n" (vCard
// text). Everything else passes as it is.
namespace QRPayload {

QList<QRFormat> allFormats();
// The popup's title: "docomo", "au", "SoftBank", "Phone", "Email", "URL", "vCard", the kinds in
// the user's language. The popup tells its items apart by their format, never by the title.
QString title(QRFormat format);
// Whether the format reads rows of that kind; the sheet enables only those.
bool formatUsesKind(QRFormat format, const QString &type);

QString payload(QRFormat format, const QRContactValues &contact, const QList<QRSelectionRow> &rows);
// Every selected row, e-mail lines before telephone lines.
QString vCardFromContact(const QRContactValues &contact, const QList<QRSelectionRow> &rows);

// MECARD: "\" and ";" get a backslash, line breaks become blanks.
QString escapeSemicolon(const QString &text);
// vCard text: "\", ";" and "," get a backslash, line breaks become "\n".
QString escapeVCardText(const QString &text);
// A URL with a scheme of "http" or "https" (in any case) as it is; anything else behind "http://".
QString httpURL(const QString &url);

} // namespace QRPayload
