#include "platform/StoreVCardReader.h"

#include "platform/VCardContentLine.h"
#include "platform/VCardLabels.h"
#include "platform/VCardLineReader.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <QVarLengthArray>

#include <algorithm>
#include <limits>

using VCardLabels::Kind;

namespace {

// The year that stands for "no year" in dates written by address books that cannot leave it out.
constexpr int NoYearMarker = 1604;

bool isPreferred(const VCardContentLine &line)
{
    return line.hasParameter("PREF") || line.types().contains(QLatin1String("PREF"), Qt::CaseInsensitive);
}

// The lines of a property that the store holds once: the one it keeps (the first marked PREF,
// else the first) and the others in card order. Lines are only looked at once one repeats.
class RepeatedLines
{
public:
    void add(const VCardContentLine &line)
    {
        if (!m_kept) {
            m_kept = &line;
            return;
        }
        if (m_others.isEmpty())
            m_keptPreferred = isPreferred(*m_kept);
        if (!m_keptPreferred && isPreferred(line)) {
            // The first line until now, so it goes first.
            m_others.prepend(m_kept);
            m_kept = &line;
            m_keptPreferred = true;
        } else {
            m_others.append(&line);
        }
    }
    const VCardContentLine *kept() const { return m_kept; }
    const QList<const VCardContentLine *> &others() const { return m_others; }

private:
    const VCardContentLine *m_kept = nullptr;
    bool m_keptPreferred = false;
    QList<const VCardContentLine *> m_others;
};

// Texts of a card's X-ABLabel or X-ABADR lines by group, letter case ignored; a card has few groups,
// so a short list serves.
class GroupTexts
{
public:
    void insert(QByteArrayView group, const QString &text)
    {
        for (auto &entry : m_entries)
            if (entry.first.compare(group, Qt::CaseInsensitive) == 0) {
                entry.second = text;
                return;
            }
        m_entries.append({group, text});
    }
    QString value(QByteArrayView group, const QString &fallback = {}) const
    {
        for (const auto &entry : m_entries)
            if (entry.first.compare(group, Qt::CaseInsensitive) == 0)
                return entry.second;
        return fallback;
    }

private:
    QVarLengthArray<std::pair<QByteArrayView, QString>, 4> m_entries;
};

struct Card
{
    StoreContact contact;
    QList<VCardContentLine> lines;
    // X-ABLabel and X-ABADR lines by group; they may follow the line they label.
    GroupTexts groupLabels;
    GroupTexts groupCountryCodes;
    QString formattedName;
    QByteArray logo;
    // IM accounts of X-AIM style lines, kept apart because writers often repeat them as IMPP.
    QList<StoreLabeledInstantMessage> legacyMessages;
    // The URI scheme of each IMPP entry whose service only its scheme gave.
    QStringList messageSchemes;
    // The store takes one ORG and one TITLE; the others are kept for the note.
    RepeatedLines organizations;
    RepeatedLines titles;
};

using Handler = void (*)(Card &, const VCardContentLine &);

QString groupLabel(const Card &card, const VCardContentLine &line)
{
    return line.group().isEmpty() ? QString() : card.groupLabels.value(line.group());
}

// The label of a line's TYPE words. A file repeats a handful of word combinations on every card:
// each thread remembers the labels it has made, by kind and the words as written.
QString labelOfTypes(const VCardContentLine &line, Kind kind)
{
    constexpr qsizetype MostRemembered = 4096;
    thread_local QHash<QByteArray, QString> known;
    QByteArray key = line.typeKey();
    key.append(char(kind));
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() >= MostRemembered)
        known.clear();
    const QString label = VCardLabels::labelFromTypes(kind, line.types());
    known.insert(key, label);
    return label;
}

QString label(const Card &card, const VCardContentLine &line, Kind kind)
{
    const QString fromGroup = groupLabel(card, line);
    return fromGroup.isEmpty() ? labelOfTypes(line, kind) : fromGroup;
}

QString component(const QStringList &components, int index)
{
    return index < components.size() ? components.at(index) : QString();
}

std::optional<int> twoDigits(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && text.size() == 2 ? std::optional<int>(value) : std::nullopt;
}

// --MMDD, --MM-DD, YYYY-MM-DD and YYYYMMDD, a time part ignored; year 1604 means none.
std::optional<DateComponents> parseDate(const QString &value)
{
    QString text = value.trimmed();
    const qsizetype time = text.indexOf(QLatin1Char('T'));
    if (time >= 0)
        text.truncate(time);
    DateComponents date;
    if (text.startsWith(QLatin1String("--"))) {
        text.remove(0, 2);
    } else {
        bool ok = false;
        const int year = text.left(4).toInt(&ok);
        if (!ok || text.size() < 8)
            return std::nullopt;
        if (year != NoYearMarker)
            date.year = year;
        text.remove(0, 4);
    }
    text.remove(QLatin1Char('-'));
    const std::optional<int> month = twoDigits(QStringView(text).left(2));
    const std::optional<int> day = twoDigits(QStringView(text).mid(2));
    if (text.size() != 4 || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31)
        return std::nullopt;
    date.month = month;
    date.day = day;
    return date;
}

// A data: URI, "data:image/jpeg;base64,..."; vCard 4.0 writers escape its ";" and "," as in any
// text value, and the base64 alphabet holds no backslash, so the escapes go first.
std::optional<QByteArray> dataUriBytes(QByteArrayView raw)
{
    if (raw.size() < 5 || raw.first(5).compare("data:", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArray uri = VCardContentLine::unescape(QString::fromLatin1(raw)).toLatin1();
    const qsizetype comma = uri.indexOf(',');
    if (comma < 0 || !uri.left(comma).toLower().endsWith(";base64"))
        return QByteArray();
    return QByteArray::fromBase64(uri.mid(comma + 1));
}

QByteArray imageBytes(const VCardContentLine &line)
{
    if (const std::optional<QByteArray> bytes = dataUriBytes(line.rawValue().trimmed()))
        return *bytes;
    const QString encoding = line.parameter("ENCODING").toUpper();
    // A URI of a picture elsewhere is not fetched.
    return encoding == QLatin1String("B") || encoding == QLatin1String("BASE64") ? line.decodedBytes()
                                                                                 : QByteArray();
}

void readName(Card &card, const VCardContentLine &line)
{
    const QStringList parts = line.components();
    card.contact.familyName = component(parts, 0);
    card.contact.givenName = component(parts, 1);
    card.contact.middleName = component(parts, 2);
    card.contact.namePrefix = component(parts, 3);
    card.contact.nameSuffix = component(parts, 4);
}

void readFormattedName(Card &card, const VCardContentLine &line)
{
    card.formattedName = line.text();
}

void readOrganization(Card &card, const VCardContentLine &line)
{
    card.organizations.add(line);
}

void readTitle(Card &card, const VCardContentLine &line)
{
    card.titles.add(line);
}

void readNickname(Card &card, const VCardContentLine &line)
{
    card.contact.nickname = line.text();
}

void appendToNote(StoreContact &contact, const QString &text)
{
    if (contact.note.isEmpty())
        contact.note = text;
    else
        contact.note += QLatin1Char('\n') + text;
}

void readNote(Card &card, const VCardContentLine &line)
{
    if (const QString note = line.text(); !note.isEmpty())
        appendToNote(card.contact, note);
}

void readMaidenName(Card &card, const VCardContentLine &line)
{
    card.contact.previousFamilyName = line.text();
}

void readPhone(Card &card, const VCardContentLine &line)
{
    QString number = line.text().trimmed();
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number.remove(0, 4);
    if (!number.isEmpty())
        card.contact.phoneNumbers.append({{}, label(card, line, Kind::Phone), number});
}

void readEmail(Card &card, const VCardContentLine &line)
{
    const QString address = line.text().trimmed();
    if (!address.isEmpty())
        card.contact.emailAddresses.append({{}, label(card, line, Kind::Email), address});
}

void readUrl(Card &card, const VCardContentLine &line)
{
    const QString url = line.text().trimmed();
    if (!url.isEmpty())
        card.contact.urlAddresses.append({{}, label(card, line, Kind::Url), url});
}

// The store keeps one street text: the post-office box and extended address become its last lines.
void readAddress(Card &card, const VCardContentLine &line)
{
    const QStringList parts = line.components();
    QStringList street{component(parts, 2), component(parts, 1), component(parts, 0)};
    street.removeAll(QString());
    StorePostalAddress address;
    address.street = street.join(QLatin1Char('\n'));
    address.city = component(parts, 3);
    address.state = component(parts, 4);
    address.postalCode = component(parts, 5);
    address.country = component(parts, 6);
    address.isoCountryCode = card.groupCountryCodes.value(line.group(), line.parameter("CC"));
    if (address == StorePostalAddress())
        return;
    card.contact.postalAddresses.append({{}, label(card, line, Kind::Address), address});
}

void readBirthday(Card &card, const VCardContentLine &line)
{
    if (const std::optional<DateComponents> date = parseDate(line.text()))
        card.contact.birthday = date;
}

void readDate(Card &card, const VCardContentLine &line)
{
    if (const std::optional<DateComponents> date = parseDate(line.text()))
        card.contact.dates.append({{}, label(card, line, Kind::Date), *date});
}

void readAnniversary(Card &card, const VCardContentLine &line)
{
    if (const std::optional<DateComponents> date = parseDate(line.text()))
        card.contact.dates.append({{}, VCardLabels::Anniversary, *date});
}

void readRelatedName(Card &card, const VCardContentLine &line)
{
    const QString name = line.text().trimmed();
    if (!name.isEmpty())
        card.contact.contactRelations.append({{}, label(card, line, Kind::Relation), name});
}

void readPhoneticGivenName(Card &card, const VCardContentLine &line)
{
    card.contact.phoneticGivenName = line.text();
}

void readPhoneticMiddleName(Card &card, const VCardContentLine &line)
{
    card.contact.phoneticMiddleName = line.text();
}

void readPhoneticFamilyName(Card &card, const VCardContentLine &line)
{
    card.contact.phoneticFamilyName = line.text();
}

// vCard 2.1 phones write the reading of the name as SOUND;X-IRMC-N:family;given;middle.
void readSound(Card &card, const VCardContentLine &line)
{
    if (!line.types().contains(QLatin1String("X-IRMC-N"), Qt::CaseInsensitive))
        return;
    const QStringList parts = line.components();
    StoreContact &contact = card.contact;
    if (contact.phoneticFamilyName.isEmpty() && contact.phoneticGivenName.isEmpty() &&
        contact.phoneticMiddleName.isEmpty()) {
        contact.phoneticFamilyName = component(parts, 0);
        contact.phoneticGivenName = component(parts, 1);
        contact.phoneticMiddleName = component(parts, 2);
    }
}

void readShowAs(Card &card, const VCardContentLine &line)
{
    if (line.text().trimmed().compare(QLatin1String("COMPANY"), Qt::CaseInsensitive) == 0)
        card.contact.setContactType(StoreContactType::Organization);
}

void readKind(Card &card, const VCardContentLine &line)
{
    const QString kind = line.text().trimmed().toLower();
    if (kind == QLatin1String("org") || kind == QLatin1String("organization"))
        card.contact.setContactType(StoreContactType::Organization);
}

// A parameter value with its caret escapes undone, as StoreVCardWriter writes the values it
// must keep whole (a service, a profile's user name).
QString parameterText(const VCardContentLine &line, QByteArrayView name)
{
    return VCardContentLine::unescapeParameter(line.parameter(name));
}

void readSocialProfile(Card &card, const VCardContentLine &line)
{
    StoreSocialProfile profile;
    // The service is one TYPE value, not a list: a service name may hold a comma.
    for (const QString &type : line.parameterValues("TYPE"))
        if (type.compare(QLatin1String("PREF"), Qt::CaseInsensitive) != 0) {
            profile.service = VCardLabels::socialServiceName(VCardContentLine::unescapeParameter(type));
            break;
        }
    profile.urlString = line.text().trimmed();
    profile.username = parameterText(line, "X-USER");
    profile.userIdentifier = parameterText(line, "X-USERID");
    // Without x-user the profile URL's last path segment is the user name, which the record needs.
    if (profile.username.isEmpty())
        profile.username =
            QUrl(profile.urlString).path().section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
    if (profile.username.isEmpty() && profile.urlString.isEmpty())
        return;
    card.contact.socialProfiles.append({{}, profile.service, profile});
}

// The user part of an IMPP URI; desktop address books percent-encode it ("aim:Messenger%20Work").
// A "%" that starts no escape, or escapes that make no UTF-8 or a character that no value keeps
// (NUL, a byte-order mark: a write and a read would drop it), stay as they stand.
QString decodedUriPart(const QString &text)
{
    if (!text.contains(QLatin1Char('%')))
        return text;
    const auto isHexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    for (qsizetype i = text.indexOf(QLatin1Char('%')); i >= 0; i = text.indexOf(QLatin1Char('%'), i + 1)) {
        if (i + 2 >= text.size() || !isHexDigit(text.at(i + 1)) || !isHexDigit(text.at(i + 2)))
            return text;
    }
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString decoded = decoder(QByteArray::fromPercentEncoding(text.toUtf8()));
    const bool stray = decoded.contains(QChar(0)) || decoded.contains(QChar(0xFEFF));
    return decoder.hasError() || stray ? text : decoded;
}

// Anchored whole: "$" alone would also match before a final line break ("s\n" of an unescaped value).
bool isUriScheme(const QString &text)
{
    static const QRegularExpression scheme(QRegularExpression::anchoredPattern(u"[A-Za-z][A-Za-z0-9+.-]*"));
    return scheme.match(text).hasMatch();
}

// The service an IMPP line names: its X-SERVICE-TYPE, else the service of its scheme, else the
// scheme itself (irc, sip); the generic "im" scheme names none. A known service in any spelling
// becomes the store's name ("googletalk", "Google Talk" and a "GoogleTalk:" scheme alike); any
// other stays as written, so that what the writer wrote reads the same.
QString imppService(const VCardContentLine &line, const QString &scheme)
{
    const QString service = parameterText(line, "X-SERVICE-TYPE");
    if (!service.isEmpty())
        return VCardLabels::instantMessageServiceName(service);
    const QString known = VCardLabels::instantMessageServiceForScheme(scheme);
    if (!known.isEmpty() || scheme.compare(QLatin1String("im"), Qt::CaseInsensitive) == 0)
        return known;
    return VCardLabels::instantMessageServiceName(scheme);
}

void readImpp(Card &card, const VCardContentLine &line)
{
    const QString value = line.text().trimmed();
    const qsizetype colon = value.indexOf(QLatin1Char(':'));
    const QString scheme = colon > 0 && isUriScheme(value.left(colon)) ? value.left(colon) : QString();
    StoreInstantMessageAddress address;
    address.username = decodedUriPart(scheme.isEmpty() ? value : value.mid(colon + 1));
    address.service = imppService(line, scheme);
    if (address.username.isEmpty())
        return;
    card.contact.instantMessageAddresses.append({{}, label(card, line, Kind::InstantMessage), address});
    card.messageSchemes.append(line.hasParameter("X-SERVICE-TYPE") ? QString() : scheme);
}

void readLegacyMessage(Card &card, const VCardContentLine &line)
{
    StoreInstantMessageAddress address;
    address.username = line.text().trimmed();
    address.service =
        VCardLabels::instantMessageServiceForProperty(QString::fromLatin1(line.name()).toUpper());
    if (!address.username.isEmpty())
        card.legacyMessages.append({{}, label(card, line, Kind::InstantMessage), address});
}

void readPhoto(Card &card, const VCardContentLine &line)
{
    if (card.contact.imageData.isEmpty())
        card.contact.imageData = imageBytes(line);
}

void readLogo(Card &card, const VCardContentLine &line)
{
    if (card.logo.isEmpty())
        card.logo = imageBytes(line);
}

struct HandlerEntry
{
    QByteArrayView name;
    Handler handler;
};

// By name, in byte order, for a binary search that ignores letter case (names hold no lower-case
// letters, and "-" sorts before every letter either way).
constexpr HandlerEntry Handlers[] = {
    {"ADR", readAddress},
    {"ANNIVERSARY", readAnniversary},
    {"BDAY", readBirthday},
    {"EMAIL", readEmail},
    {"FN", readFormattedName},
    {"IMPP", readImpp},
    {"KIND", readKind},
    {"LOGO", readLogo},
    {"N", readName},
    {"NICKNAME", readNickname},
    {"NOTE", readNote},
    {"ORG", readOrganization},
    {"PHOTO", readPhoto},
    {"SOUND", readSound},
    {"TEL", readPhone},
    {"TITLE", readTitle},
    {"URL", readUrl},
    {"X-ABDATE", readDate},
    {"X-ABRELATEDNAMES", readRelatedName},
    {"X-ABSHOWAS", readShowAs},
    {"X-AIM", readLegacyMessage},
    {"X-ANNIVERSARY", readAnniversary},
    {"X-FACEBOOK", readLegacyMessage},
    {"X-GADUGADU", readLegacyMessage},
    {"X-GOOGLE-TALK", readLegacyMessage},
    {"X-GOOGLETALK", readLegacyMessage},
    {"X-ICQ", readLegacyMessage},
    {"X-JABBER", readLegacyMessage},
    {"X-MAIDENNAME", readMaidenName},
    {"X-MSN", readLegacyMessage},
    {"X-PHONETIC-FIRST-NAME", readPhoneticGivenName},
    {"X-PHONETIC-LAST-NAME", readPhoneticFamilyName},
    {"X-PHONETIC-MIDDLE-NAME", readPhoneticMiddleName},
    {"X-QQ", readLegacyMessage},
    {"X-SKYPE", readLegacyMessage},
    {"X-SOCIALPROFILE", readSocialProfile},
    {"X-YAHOO", readLegacyMessage},
};

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// An upper-case name against a name in any letter case: below zero, zero or above.
int compareToUpper(QByteArrayView upper, QByteArrayView name)
{
    const qsizetype common = qMin(upper.size(), name.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char other = asciiUpper(name[i]);
        if (upper[i] != other)
            return static_cast<unsigned char>(upper[i]) < static_cast<unsigned char>(other) ? -1 : 1;
    }
    return upper.size() == name.size() ? 0 : upper.size() < name.size() ? -1 : 1;
}

Handler handlerFor(QByteArrayView name)
{
    const auto end = std::end(Handlers);
    const auto found =
        std::lower_bound(std::begin(Handlers), end, name, [](const HandlerEntry &entry, QByteArrayView key) {
            return compareToUpper(entry.name, key) < 0;
        });
    return found != end && compareToUpper(found->name, name) == 0 ? found->handler : nullptr;
}

// Lines that annotate the other lines of their group.
constexpr QByteArrayView GroupLabelName = "X-ABLABEL";
constexpr QByteArrayView GroupCountryCodeName = "X-ABADR";

void collectGroupLines(Card &card)
{
    for (const VCardContentLine &line : card.lines) {
        if (line.group().isEmpty())
            continue;
        if (line.isNamed(GroupLabelName))
            card.groupLabels.insert(line.group(), VCardLabels::labelFromText(line.text()));
        else if (line.isNamed(GroupCountryCodeName))
            card.groupCountryCodes.insert(line.group(), line.text().trimmed());
    }
}

// An X-AIM style line that repeats an IMPP line's address is that entry. It names the service
// better when the IMPP line's came only from a scheme that several services share (xmpp).
void mergeLegacyMessages(Card &card)
{
    QList<StoreLabeledInstantMessage> &addresses = card.contact.instantMessageAddresses;
    for (const StoreLabeledInstantMessage &legacy : std::as_const(card.legacyMessages)) {
        const StoreInstantMessageAddress &account = legacy.value;
        bool known = false;
        for (qsizetype i = 0; i < addresses.size() && !known; ++i) {
            StoreInstantMessageAddress &address = addresses[i].value;
            if (address.username != account.username)
                continue;
            known = address.service.compare(account.service, Qt::CaseInsensitive) == 0;
            const QString scheme = card.messageSchemes.value(i);
            if (!known && !scheme.isEmpty() && VCardLabels::schemeServes(scheme, account.service)) {
                address.service = account.service;
                known = true;
            }
        }
        if (!known)
            addresses.append(legacy);
    }
}

QString titleText(const VCardContentLine &line)
{
    return line.text();
}

QString organizationText(const VCardContentLine &line)
{
    QStringList parts = line.components();
    parts.removeAll(QString());
    return parts.join(QLatin1String("; "));
}

// The lines the store has no place for go into the note, unless they only repeat another.
void addRepeatedToNote(StoreContact &contact, const RepeatedLines &lines,
                       QString (*textOf)(const VCardContentLine &), const QString &property)
{
    if (lines.others().isEmpty())
        return;
    QStringList shown{textOf(*lines.kept())};
    for (const VCardContentLine *line : lines.others()) {
        const QString text = textOf(*line);
        if (text.isEmpty() || shown.contains(text))
            continue;
        shown.append(text);
        appendToNote(contact, property + QLatin1String(": ") + text);
    }
}

void applyOrganizationAndTitle(Card &card)
{
    StoreContact &contact = card.contact;
    if (const VCardContentLine *organization = card.organizations.kept()) {
        QStringList parts = organization->components();
        contact.organizationName = parts.takeFirst();
        parts.removeAll(QString());
        contact.departmentName = parts.join(QLatin1String(", "));
    }
    if (const VCardContentLine *title = card.titles.kept())
        contact.jobTitle = titleText(*title);
    addRepeatedToNote(contact, card.organizations, organizationText, QStringLiteral("ORG"));
    addRepeatedToNote(contact, card.titles, titleText, QStringLiteral("TITLE"));
}

// A card without name parts keeps its FN as the given name (or as the name of an organisation),
// so that a contact known only by FN is not nameless; one that names only an organisation is the
// organisation's card, shown by its name as the store shows a company.
void applyFormattedName(Card &card)
{
    StoreContact &contact = card.contact;
    if (!contact.givenName.isEmpty() || !contact.familyName.isEmpty() || !contact.middleName.isEmpty())
        return;
    const QString name = card.formattedName.trimmed();
    if (contact.contactType() == StoreContactType::Organization) {
        if (contact.organizationName.isEmpty())
            contact.organizationName = name;
    } else if (!name.isEmpty() && name != contact.organizationName) {
        contact.givenName = name;
    } else if (!contact.organizationName.isEmpty()) {
        contact.setContactType(StoreContactType::Organization);
    }
}

StoreContact finishCard(Card &card, const StoreVCardReader::OtherLine &otherLine)
{
    collectGroupLines(card);
    for (const VCardContentLine &line : std::as_const(card.lines)) {
        if (const Handler handler = handlerFor(line.name()))
            handler(card, line);
        else if (otherLine)
            otherLine(line);
    }
    mergeLegacyMessages(card);
    applyOrganizationAndTitle(card);
    applyFormattedName(card);
    if (card.contact.imageData.isEmpty())
        card.contact.imageData = card.logo;
    return std::move(card.contact);
}

// Reads cards one after another, each line once; stops after `limit` cards.
std::optional<QList<StoreContact>> readCards(QByteArrayView data, QByteArrayView fallbackCharset,
                                             const StoreVCardReader::OtherLine &otherLine, qsizetype limit)
{
    VCardLineReader reader(data);
    QList<StoreContact> contacts;
    bool sawCard = false;
    int depth = 0;
    // Made at its BEGIN line only: a new contact draws a fresh identifier.
    std::optional<Card> card;
    QByteArrayView line;
    while (contacts.size() < limit && reader.readLine(line)) {
        if (VCardLineReader::isBegin(line)) {
            // A card nested in a 2.1 AGENT property is skipped with its lines.
            if (depth++ == 0)
                card.emplace();
            sawCard = true;
        } else if (VCardLineReader::isEnd(line)) {
            if (depth > 0 && --depth == 0)
                contacts.append(finishCard(*card, otherLine));
        } else if (depth == 1) {
            if (std::optional<VCardContentLine> parsed = VCardContentLine::parse(line, fallbackCharset))
                card->lines.append(std::move(*parsed));
        }
    }
    if (depth > 0 && contacts.size() < limit)
        contacts.append(finishCard(*card, otherLine));
    if (!sawCard)
        return std::nullopt;
    return contacts;
}

} // namespace

std::optional<QList<StoreContact>> StoreVCardReader::read(QByteArrayView data, QByteArrayView fallbackCharset)
{
    return readCards(data, fallbackCharset, {}, std::numeric_limits<qsizetype>::max());
}

std::optional<StoreContact> StoreVCardReader::readFirstCard(QByteArrayView data,
                                                            QByteArrayView fallbackCharset,
                                                            const OtherLine &otherLine)
{
    std::optional<QList<StoreContact>> contacts = readCards(data, fallbackCharset, otherLine, 1);
    if (!contacts || contacts->isEmpty())
        return std::nullopt;
    return std::move(contacts->first());
}

bool StoreVCardReader::readsProperty(QByteArrayView name)
{
    return handlerFor(name) || name.compare(GroupLabelName, Qt::CaseInsensitive) == 0 ||
           name.compare(GroupCountryCodeName, Qt::CaseInsensitive) == 0;
}
