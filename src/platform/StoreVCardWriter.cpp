#include "platform/StoreVCardWriter.h"

#include "platform/ContactFormatter.h"
#include "platform/VCardContentLine.h"
#include "platform/VCardLabels.h"

#include <algorithm>

using VCardLabels::Kind;
using Escape = VCardLineWriter::Escape;

namespace {

// The card's lines and its item groups.
class CardText
{
public:
    explicit CardText(VCardLineWriter &lines) : m_lines(lines) {}

    VCardLineWriter &begin(const char *property) { return m_lines.begin(property); }
    VCardLineWriter &begin(int group, const char *property)
    {
        return group ? m_lines.begin("item").addNumber(group).add('.').add(property) : begin(property);
    }
    int nextGroup() { return ++m_items; }
    // A line of an item group holding the text.
    void addGroupLine(int group, const char *property, QStringView text)
    {
        begin(group, property).add(':').add(text, Escape::Text).end();
    }

private:
    VCardLineWriter &m_lines;
    int m_items = 0;
};

// What a labelled value's line carries besides its label's TYPE words.
struct LineExtras
{
    // A TYPE word before the label's.
    const char *fixedType = nullptr;
    // Parameters after the TYPE words, as written.
    QString parameters;
    // The X-ABADR line of an address.
    QString isoCountryCode;
};

// Quoted when it holds what would end it or be read apart (; : ,), a backslash, which could
// escape the ";" after it, or blanks at an end, which the reader trims.
QString quotedWhenNeeded(const QString &value)
{
    const bool needsQuotes =
        std::any_of(value.begin(), value.end(), [](QChar c) { return QStringView(u";:,\\").contains(c); }) ||
        (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    return needsQuotes ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

// A parameter value whole: its quotes, line breaks and carets in the caret escapes the reader
// undoes (a parameter cannot hold the first two as they stand).
QString parameterValue(const QString &value)
{
    return quotedWhenNeeded(VCardContentLine::escapeParameter(value));
}

// An instant-message service: a known one in the store's spelling, any other whole.
QString serviceParameter(const QString &service)
{
    return parameterValue(VCardLabels::instantMessageServiceName(service));
}

void addTypes(VCardLineWriter &line, const char *fixedType, const QStringList &labelTypes)
{
    bool first = true;
    const auto addType = [&](auto word) {
        line.add(first ? ";TYPE=" : ",").add(word);
        first = false;
    };
    if (fixedType)
        addType(fixedType);
    for (const QString &word : labelTypes)
        addType(QStringView(word));
}

QString formattedDate(const DateComponents &date)
{
    if (!date.month || !date.day)
        return {};
    const QString monthDay = QStringLiteral("%1-%2")
                                 .arg(*date.month, 2, 10, QLatin1Char('0'))
                                 .arg(*date.day, 2, 10, QLatin1Char('0'));
    return date.year ? QStringLiteral("%1-").arg(*date.year, 4, 10, QLatin1Char('0')) + monthDay
                     : QLatin1String("--") + monthDay;
}

// Known labels become TYPE words; a custom label, or an ISO country code, puts the value into an
// item group with its X-ABADR and X-ABLabel lines.
template <typename WriteValue>
void addLabeled(CardText &card, const char *property, Kind kind, const QString &label, WriteValue writeValue,
                const LineExtras &extras = {})
{
    const QStringList labelTypes = VCardLabels::typesFromLabel(kind, label);
    const bool customLabel = !label.isEmpty() && labelTypes.isEmpty();
    const int group = customLabel || !extras.isoCountryCode.isEmpty() ? card.nextGroup() : 0;
    VCardLineWriter &line = card.begin(group, property);
    addTypes(line, extras.fixedType, labelTypes);
    line.add(extras.parameters).add(':');
    writeValue(line);
    line.end();
    if (!extras.isoCountryCode.isEmpty())
        card.addGroupLine(group, "X-ABADR", extras.isoCountryCode);
    if (customLabel)
        card.addGroupLine(group, "X-ABLabel", label);
}

// A value that always has an item group of its own, with its label's X-ABLabel line.
template <typename WriteValue>
void addGrouped(CardText &card, const char *property, const QString &label, WriteValue writeValue)
{
    const int group = card.nextGroup();
    VCardLineWriter &line = card.begin(group, property).add(':');
    writeValue(line);
    line.end();
    if (!label.isEmpty())
        card.addGroupLine(group, "X-ABLabel", label);
}

auto text(QStringView value)
{
    return [value](VCardLineWriter &line) { line.add(value, Escape::Text); };
}

auto uri(QStringView value)
{
    return [value](VCardLineWriter &line) { line.add(value, Escape::Uri); };
}

void addText(CardText &card, const char *property, const QString &value)
{
    if (!value.isEmpty())
        card.begin(property).add(':').add(value, Escape::Text).end();
}

void writeName(const StoreContact &contact, CardText &card)
{
    VCardLineWriter &line = card.begin("N:");
    line.add(contact.familyName, Escape::Text).add(';').add(contact.givenName, Escape::Text).add(';');
    line.add(contact.middleName, Escape::Text).add(';').add(contact.namePrefix, Escape::Text).add(';');
    line.add(contact.nameSuffix, Escape::Text).end();
}

void writeFormattedName(const StoreContact &contact, CardText &card)
{
    card.begin("FN:").add(ContactFormatter::stringFromContact(contact), Escape::Text).end();
}

void writePhoneticNames(const StoreContact &contact, CardText &card)
{
    addText(card, "X-PHONETIC-FIRST-NAME", contact.phoneticGivenName);
    addText(card, "X-PHONETIC-MIDDLE-NAME", contact.phoneticMiddleName);
    addText(card, "X-PHONETIC-LAST-NAME", contact.phoneticFamilyName);
}

void writeMaidenName(const StoreContact &contact, CardText &card)
{
    addText(card, "X-MAIDENNAME", contact.previousFamilyName);
}

void writeNickname(const StoreContact &contact, CardText &card)
{
    addText(card, "NICKNAME", contact.nickname);
}

void writeOrganization(const StoreContact &contact, CardText &card)
{
    if (contact.organizationName.isEmpty() && contact.departmentName.isEmpty())
        return;
    VCardLineWriter &line = card.begin("ORG:").add(contact.organizationName, Escape::Text);
    if (!contact.departmentName.isEmpty())
        line.add(';').add(contact.departmentName, Escape::Text);
    line.end();
}

void writeShowAs(const StoreContact &contact, CardText &card)
{
    if (contact.contactType() == StoreContactType::Organization)
        card.begin("X-ABShowAs:COMPANY").end();
}

void writeTitle(const StoreContact &contact, CardText &card)
{
    addText(card, "TITLE", contact.jobTitle);
}

void writePhones(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &phone : contact.phoneNumbers)
        if (!phone.value.isEmpty())
            addLabeled(card, "TEL", Kind::Phone, phone.label, text(phone.value));
}

void writeEmails(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &email : contact.emailAddresses)
        if (!email.value.isEmpty())
            addLabeled(card, "EMAIL", Kind::Email, email.label, text(email.value), {"INTERNET", {}, {}});
}

void writeAddresses(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledAddress &entry : contact.postalAddresses) {
        const StorePostalAddress &address = entry.value;
        if (address == StorePostalAddress())
            continue;
        const auto parts = [&address](VCardLineWriter &line) {
            line.add(";;").add(address.street, Escape::Text).add(';').add(address.city, Escape::Text);
            line.add(';').add(address.state, Escape::Text).add(';').add(address.postalCode, Escape::Text);
            line.add(';').add(address.country, Escape::Text);
        };
        addLabeled(card, "ADR", Kind::Address, entry.label, parts, {{}, {}, address.isoCountryCode});
    }
}

void writeUrls(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &url : contact.urlAddresses)
        if (!url.value.isEmpty())
            addLabeled(card, "URL", Kind::Url, url.label, uri(url.value));
}

// Dates and relations are always grouped: ungrouped, the program's vCard reader would take their
// X- lines for custom items.
void writeDates(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledDate &date : contact.dates) {
        const QString written = formattedDate(date.value);
        if (!written.isEmpty())
            addGrouped(card, "X-ABDATE", date.label,
                       [&written](VCardLineWriter &line) { line.add(written); });
    }
}

void writeRelations(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &relation : contact.contactRelations)
        if (!relation.value.isEmpty())
            addGrouped(card, "X-ABRELATEDNAMES", relation.label, text(relation.value));
}

void writeBirthday(const StoreContact &contact, CardText &card)
{
    if (contact.birthday)
        if (const QString written = formattedDate(*contact.birthday); !written.isEmpty())
            card.begin("BDAY:").add(written).end();
}

void writeSocialProfiles(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledSocialProfile &entry : contact.socialProfiles) {
        const StoreSocialProfile &profile = entry.value;
        if (profile.urlString.isEmpty() && profile.username.isEmpty() && profile.userIdentifier.isEmpty())
            continue;
        QString service = profile.service.isEmpty() ? entry.label : profile.service;
        if (VCardLabels::socialServiceName(service.toLower()) != service.toLower())
            service = service.toLower();
        VCardLineWriter &line = card.begin("X-SOCIALPROFILE");
        if (!service.isEmpty())
            line.add(";TYPE=").add(parameterValue(service));
        if (!profile.username.isEmpty())
            line.add(";X-USER=").add(parameterValue(profile.username));
        if (!profile.userIdentifier.isEmpty())
            line.add(";X-USERID=").add(parameterValue(profile.userIdentifier));
        line.add(':').add(profile.urlString, Escape::Uri).end();
    }
}

void writeInstantMessages(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledInstantMessage &entry : contact.instantMessageAddresses) {
        const StoreInstantMessageAddress &address = entry.value;
        if (address.username.isEmpty())
            continue;
        const QString parameters =
            address.service.isEmpty() ? QString()
                                      : QLatin1String(";X-SERVICE-TYPE=") + serviceParameter(address.service);
        // The reader undoes percent-encoding, so a "%" of the name is written as one.
        QString username = address.username;
        username.replace(QLatin1Char('%'), QLatin1String("%25"));
        const QString scheme = VCardLabels::instantMessageSchemeForService(address.service);
        const auto value = [&](VCardLineWriter &line) {
            line.add(scheme).add(':').add(username, Escape::Uri);
        };
        addLabeled(card, "IMPP", Kind::InstantMessage, entry.label, value, {{}, parameters, {}});
    }
}

using Writer = void (*)(const StoreContact &, CardText &);

constexpr Writer writers[]{
    writeName,           writeFormattedName,   writePhoneticNames,
    writeMaidenName,     writeNickname,        writeOrganization,
    writeShowAs,         writeTitle,           writePhones,
    writeEmails,         writeAddresses,       writeUrls,
    writeDates,          writeRelations,       writeBirthday,
    writeSocialProfiles, writeInstantMessages,
};

} // namespace

QByteArray StoreVCardWriter::write(const QList<StoreContact> &contacts)
{
    QByteArray data;
    for (const StoreContact &contact : contacts)
        data += writeContact(contact);
    return data;
}

QByteArray StoreVCardWriter::writeContact(const StoreContact &contact)
{
    QByteArray data;
    VCardLineWriter lines(data);
    beginCard(lines, contact);
    endCard(lines);
    return data;
}

void StoreVCardWriter::beginCard(VCardLineWriter &lines, const StoreContact &contact)
{
    lines.begin("BEGIN:VCARD").end();
    lines.begin("VERSION:3.0").end();
    lines.begin("PRODID:-//ContactsTable//vCard 1.0//EN").end();
    CardText card(lines);
    for (const Writer writer : writers)
        writer(contact, card);
}

void StoreVCardWriter::endCard(VCardLineWriter &lines)
{
    lines.begin("END:VCARD").end();
}

QByteArray StoreVCardWriter::foldedLine(const QByteArray &line)
{
    QByteArray out;
    VCardLineWriter::appendFolded(out, line);
    return out;
}
