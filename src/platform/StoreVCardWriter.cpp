#include "platform/StoreVCardWriter.h"

#include "platform/ContactFormatter.h"
#include "platform/VCardLabels.h"

using VCardLabels::Kind;

namespace {

constexpr qsizetype MaxLineOctets = 75;

class CardText
{
public:
    void add(const QString &property, const QString &value)
    {
        m_bytes += StoreVCardWriter::foldedLine((property + QLatin1Char(':') + value).toUtf8());
    }
    QString nextGroup() { return QStringLiteral("item%1").arg(++m_items); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    int m_items = 0;
};

struct GroupLine
{
    QString property;
    QString value;
};

// URIs are not structured values, so commas and semicolons stay as they are.
QString escapeUri(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

// A parameter value cannot hold a double quote or a line break; one holding ; : or , is quoted.
QString parameterValue(QString value)
{
    value.remove(QLatin1Char('"'));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (value.contains(QLatin1Char(';')) || value.contains(QLatin1Char(':')) ||
        value.contains(QLatin1Char(',')))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

QString typeParameter(const QStringList &types)
{
    return types.isEmpty() ? QString() : QLatin1String(";TYPE=") + types.join(QLatin1Char(','));
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

void addGrouped(CardText &card, const QString &property, const QString &value, QList<GroupLine> groupLines)
{
    const QString group = card.nextGroup();
    card.add(group + QLatin1Char('.') + property, value);
    for (const GroupLine &line : groupLines)
        card.add(group + QLatin1Char('.') + line.property, line.value);
}

// Known labels become TYPE words; a custom label, or group lines of its own, put the value into
// an item group.
void addLabeled(CardText &card, const QString &property, Kind kind, const QString &label,
                const QString &value, const QStringList &fixedTypes = {}, const QString &parameters = {},
                QList<GroupLine> groupLines = {})
{
    const QStringList labelTypes = VCardLabels::typesFromLabel(kind, label);
    if (!label.isEmpty() && labelTypes.isEmpty())
        groupLines.append({QStringLiteral("X-ABLabel"), StoreVCardWriter::escapeText(label)});
    const QString head = property + typeParameter(fixedTypes + labelTypes) + parameters;
    if (groupLines.isEmpty())
        card.add(head, value);
    else
        addGrouped(card, head, value, groupLines);
}

QList<GroupLine> labelLine(const QString &label)
{
    if (label.isEmpty())
        return {};
    return {{QStringLiteral("X-ABLabel"), StoreVCardWriter::escapeText(label)}};
}

void writeName(const StoreContact &contact, CardText &card)
{
    const QStringList parts{contact.familyName, contact.givenName, contact.middleName, contact.namePrefix,
                            contact.nameSuffix};
    QStringList escaped;
    for (const QString &part : parts)
        escaped.append(StoreVCardWriter::escapeText(part));
    card.add(QStringLiteral("N"), escaped.join(QLatin1Char(';')));
}

void writeFormattedName(const StoreContact &contact, CardText &card)
{
    card.add(QStringLiteral("FN"),
             StoreVCardWriter::escapeText(ContactFormatter::stringFromContact(contact)));
}

void addText(CardText &card, const QString &property, const QString &text)
{
    if (!text.isEmpty())
        card.add(property, StoreVCardWriter::escapeText(text));
}

void writePhoneticNames(const StoreContact &contact, CardText &card)
{
    addText(card, QStringLiteral("X-PHONETIC-FIRST-NAME"), contact.phoneticGivenName);
    addText(card, QStringLiteral("X-PHONETIC-MIDDLE-NAME"), contact.phoneticMiddleName);
    addText(card, QStringLiteral("X-PHONETIC-LAST-NAME"), contact.phoneticFamilyName);
}

void writeMaidenName(const StoreContact &contact, CardText &card)
{
    addText(card, QStringLiteral("X-MAIDENNAME"), contact.previousFamilyName);
}

void writeNickname(const StoreContact &contact, CardText &card)
{
    addText(card, QStringLiteral("NICKNAME"), contact.nickname);
}

void writeOrganization(const StoreContact &contact, CardText &card)
{
    if (contact.organizationName.isEmpty() && contact.departmentName.isEmpty())
        return;
    QString value = StoreVCardWriter::escapeText(contact.organizationName);
    if (!contact.departmentName.isEmpty())
        value += QLatin1Char(';') + StoreVCardWriter::escapeText(contact.departmentName);
    card.add(QStringLiteral("ORG"), value);
}

void writeShowAs(const StoreContact &contact, CardText &card)
{
    if (contact.contactType() == StoreContactType::Organization)
        card.add(QStringLiteral("X-ABShowAs"), QStringLiteral("COMPANY"));
}

void writeTitle(const StoreContact &contact, CardText &card)
{
    addText(card, QStringLiteral("TITLE"), contact.jobTitle);
}

void writePhones(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &phone : contact.phoneNumbers)
        if (!phone.value.isEmpty())
            addLabeled(card, QStringLiteral("TEL"), Kind::Phone, phone.label,
                       StoreVCardWriter::escapeText(phone.value));
}

void writeEmails(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &email : contact.emailAddresses)
        if (!email.value.isEmpty())
            addLabeled(card, QStringLiteral("EMAIL"), Kind::Email, email.label,
                       StoreVCardWriter::escapeText(email.value), {QStringLiteral("INTERNET")});
}

void writeAddresses(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledAddress &entry : contact.postalAddresses) {
        const StorePostalAddress &address = entry.value;
        if (address == StorePostalAddress())
            continue;
        QStringList parts{QString(),     QString(),          address.street, address.city,
                          address.state, address.postalCode, address.country};
        for (QString &part : parts)
            part = StoreVCardWriter::escapeText(part);
        QList<GroupLine> groupLines;
        if (!address.isoCountryCode.isEmpty())
            groupLines.append(
                {QStringLiteral("X-ABADR"), StoreVCardWriter::escapeText(address.isoCountryCode)});
        addLabeled(card, QStringLiteral("ADR"), Kind::Address, entry.label, parts.join(QLatin1Char(';')), {},
                   {}, groupLines);
    }
}

void writeUrls(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &url : contact.urlAddresses)
        if (!url.value.isEmpty())
            addLabeled(card, QStringLiteral("URL"), Kind::Url, url.label, escapeUri(url.value));
}

// Dates and relations are always grouped: ungrouped, the program's vCard reader would take their
// X- lines for custom items.
void writeDates(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledDate &date : contact.dates) {
        const QString text = formattedDate(date.value);
        if (!text.isEmpty())
            addGrouped(card, QStringLiteral("X-ABDATE"), text, labelLine(date.label));
    }
}

void writeRelations(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledString &relation : contact.contactRelations)
        if (!relation.value.isEmpty())
            addGrouped(card, QStringLiteral("X-ABRELATEDNAMES"), StoreVCardWriter::escapeText(relation.value),
                       labelLine(relation.label));
}

void writeBirthday(const StoreContact &contact, CardText &card)
{
    if (contact.birthday)
        if (const QString text = formattedDate(*contact.birthday); !text.isEmpty())
            card.add(QStringLiteral("BDAY"), text);
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
        QString head = QStringLiteral("X-SOCIALPROFILE");
        if (!service.isEmpty())
            head += QLatin1String(";TYPE=") + parameterValue(service);
        if (!profile.username.isEmpty())
            head += QLatin1String(";X-USER=") + parameterValue(profile.username);
        if (!profile.userIdentifier.isEmpty())
            head += QLatin1String(";X-USERID=") + parameterValue(profile.userIdentifier);
        card.add(head, escapeUri(profile.urlString));
    }
}

void writeInstantMessages(const StoreContact &contact, CardText &card)
{
    for (const StoreLabeledInstantMessage &entry : contact.instantMessageAddresses) {
        const StoreInstantMessageAddress &address = entry.value;
        if (address.username.isEmpty())
            continue;
        const QString parameters = address.service.isEmpty()
                                       ? QString()
                                       : QLatin1String(";X-SERVICE-TYPE=") + parameterValue(address.service);
        // The reader undoes percent-encoding, so a "%" of the name is written as one.
        QString username = address.username;
        username.replace(QLatin1Char('%'), QLatin1String("%25"));
        const QString value = VCardLabels::instantMessageSchemeForService(address.service) +
                              QLatin1Char(':') + escapeUri(username);
        addLabeled(card, QStringLiteral("IMPP"), Kind::InstantMessage, entry.label, value, {}, parameters);
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
    CardText card;
    card.add(QStringLiteral("BEGIN"), QStringLiteral("VCARD"));
    card.add(QStringLiteral("VERSION"), QStringLiteral("3.0"));
    card.add(QStringLiteral("PRODID"), QStringLiteral("-//ContactsTable//vCard 1.0//EN"));
    for (const Writer writer : writers)
        writer(contact, card);
    card.add(QStringLiteral("END"), QStringLiteral("VCARD"));
    return card.bytes();
}

QByteArray StoreVCardWriter::foldedLine(const QByteArray &line)
{
    QByteArray out;
    out.reserve(line.size() + line.size() / 36 + 2);
    qsizetype position = 0;
    for (bool first = true;; first = false) {
        const qsizetype room = first ? MaxLineOctets : MaxLineOctets - 1;
        if (!first)
            out.append(' ');
        if (line.size() - position <= room) {
            out.append(QByteArrayView(line).sliced(position));
            break;
        }
        qsizetype cut = position + room;
        // Never between the bytes of one UTF-8 character.
        while (cut > position && (static_cast<unsigned char>(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        if (cut == position)
            cut = position + room;
        out.append(QByteArrayView(line).sliced(position, cut - position));
        out.append("\r\n");
        position = cut;
    }
    out.append("\r\n");
    return out;
}

QString StoreVCardWriter::escapeText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                continue;
            out.append(QLatin1String("\\n"));
        } else if (c == QLatin1Char('\n')) {
            out.append(QLatin1String("\\n"));
        } else if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out.append(QLatin1Char('\\'));
            out.append(c);
        } else {
            out.append(c);
        }
    }
    return out;
}
