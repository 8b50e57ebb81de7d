#include "platform/VCardLabels.h"

#include <QList>

#include <algorithm>

namespace VCardLabels {

namespace {

constexpr unsigned bit(Kind kind)
{
    return 1u << static_cast<unsigned>(kind);
}

constexpr unsigned Phones = bit(Kind::Phone);
constexpr unsigned Urls = bit(Kind::Url);
constexpr unsigned Relations = bit(Kind::Relation);
constexpr unsigned Dates = bit(Kind::Date);
constexpr unsigned Places =
    bit(Kind::Phone) | bit(Kind::Email) | bit(Kind::Address) | bit(Kind::Url) | bit(Kind::InstantMessage);

struct LabelWords
{
    QString label;
    QStringList words;
    unsigned kinds;
    // Entries only read, never written (a bare FAX, IPHONE without CELL).
    bool readOnly = false;
};

constexpr QLatin1StringView MarkStart("_$!<");
constexpr QLatin1StringView MarkEnd(">!$_");

QString wrapped(QStringView word)
{
    return QString(MarkStart).append(word).append(MarkEnd);
}

QString wrapped(const char *word)
{
    return wrapped(QString::fromLatin1(word));
}

bool isWrapped(const QString &text)
{
    return text.size() >= MarkStart.size() + MarkEnd.size() && text.startsWith(MarkStart) &&
           text.endsWith(MarkEnd);
}

// Most specific first: the reader takes the entry matching the most words, ties going to the
// earlier entry, so HOME,FAX is a home fax and HOME,CELL a mobile.
const QList<LabelWords> &labelTable()
{
    static const QList<LabelWords> table{
        {IPhone, {"IPHONE", "CELL"}, Phones},
        {IPhone, {"IPHONE"}, Phones, true},
        {HomeFax, {"HOME", "FAX"}, Phones},
        {WorkFax, {"WORK", "FAX"}, Phones},
        {OtherFax, {"OTHER", "FAX"}, Phones},
        {OtherFax, {"FAX"}, Phones, true},
        {Mobile, {"CELL"}, Phones},
        {Mobile, {"MOBILE"}, Phones, true},
        {Pager, {"PAGER"}, Phones},
        {Main, {"MAIN"}, Phones},
        {HomePage, {"HOMEPAGE"}, Urls},
        {Home, {"HOME"}, Places},
        {Work, {"WORK"}, Places},
        {Other, {"OTHER"}, Places | Dates},
        {Anniversary, {"ANNIVERSARY"}, Dates},
        {wrapped("Father"), {"FATHER"}, Relations},
        {wrapped("Mother"), {"MOTHER"}, Relations},
        {wrapped("Parent"), {"PARENT"}, Relations},
        {wrapped("Brother"), {"BROTHER"}, Relations},
        {wrapped("Sister"), {"SISTER"}, Relations},
        {wrapped("Child"), {"CHILD"}, Relations},
        {wrapped("Friend"), {"FRIEND"}, Relations},
        {wrapped("Spouse"), {"SPOUSE"}, Relations},
        {wrapped("Partner"), {"PARTNER"}, Relations},
        {wrapped("Assistant"), {"ASSISTANT"}, Relations},
        {wrapped("Manager"), {"MANAGER"}, Relations},
    };
    return table;
}

// Words that say something other than the label: preference, medium, address delivery kind.
bool isNonLabelWord(const QString &word)
{
    static const QStringList words{"PREF", "VOICE", "INTERNET", "X400",   "MSG",
                                   "DOM",  "INTL",  "POSTAL",   "PARCEL", "TEXT"};
    return words.contains(word) || word.startsWith(QLatin1String("X-"));
}

// A known name in any letter case, also written apart ("Google Talk", "Gadu-Gadu").
QString canonicalName(const QStringList &names, const QString &name)
{
    QString joined = name;
    joined.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
    for (const QString &known : names)
        if (known.compare(joined, Qt::CaseInsensitive) == 0)
            return known;
    return name;
}

struct ServiceScheme
{
    QString service;
    QString scheme;
};

// The first scheme of a service is the one written; a scheme read without a service parameter
// names its first service (xmpp is Jabber). The last row's schemes are only read: phones and web
// address books write them.
const QList<ServiceScheme> &serviceSchemes()
{
    static const QList<ServiceScheme> schemes{
        {"AIM", "aim"},           {"ICQ", "icq"},          {"MSN", "msnim"},
        {"MSN", "msn"},           {"Jabber", "xmpp"},      {"Yahoo", "ymsgr"},
        {"Skype", "skype"},       {"GaduGadu", "gg"},      {"QQ", "qq"},
        {"GoogleTalk", "xmpp"},   {"GoogleTalk", "gtalk"}, {"Facebook", "xmpp"},
        {"GoogleTalk", "google"}, {"GaduGadu", "gadu"},    {"Yahoo", "yahoo"},
        {"Facebook", "facebook"},
    };
    return schemes;
}

} // namespace

QString labelFromText(const QString &text)
{
    const QString label = text.trimmed();
    if (!isWrapped(label))
        return label;
    return wrapped(QStringView(label)
                       .sliced(MarkStart.size(), label.size() - MarkStart.size() - MarkEnd.size())
                       .trimmed());
}

QString labelFromTypes(Kind kind, const QStringList &types)
{
    QStringList words;
    for (const QString &type : types) {
        // An unknown word is the label itself, so it reads as it will read back.
        const QString word = labelFromText(type).toUpper();
        if (!word.isEmpty() && !isNonLabelWord(word) && !words.contains(word))
            words.append(word);
    }
    const LabelWords *best = nullptr;
    for (const LabelWords &entry : labelTable()) {
        if (!(entry.kinds & bit(kind)))
            continue;
        const bool matches = std::all_of(entry.words.begin(), entry.words.end(),
                                         [&](const QString &word) { return words.contains(word); });
        if (matches && (!best || entry.words.size() > best->words.size()))
            best = &entry;
    }
    if (best)
        return best->label;
    return words.isEmpty() ? QString() : words.first().toLower();
}

QStringList typesFromLabel(Kind kind, const QString &label)
{
    for (const LabelWords &entry : labelTable())
        if (!entry.readOnly && (entry.kinds & bit(kind)) && entry.label == label)
            return entry.words;
    return {};
}

QString socialServiceName(const QString &name)
{
    static const QStringList services{"Twitter", "Facebook",  "Flickr",       "LinkedIn",  "Yelp",
                                      "MySpace", "SinaWeibo", "TencentWeibo", "GameCenter"};
    return canonicalName(services, name);
}

QString instantMessageServiceName(const QString &name)
{
    static const QStringList services{"AIM",    "Facebook", "GaduGadu", "GoogleTalk", "ICQ",
                                      "Jabber", "MSN",      "QQ",       "Skype",      "Yahoo"};
    return canonicalName(services, name);
}

QString instantMessageServiceForScheme(const QString &scheme)
{
    for (const ServiceScheme &entry : serviceSchemes())
        if (entry.scheme.compare(scheme, Qt::CaseInsensitive) == 0)
            return entry.service;
    return {};
}

bool schemeServes(const QString &scheme, const QString &service)
{
    return std::any_of(serviceSchemes().begin(), serviceSchemes().end(), [&](const ServiceScheme &entry) {
        return entry.scheme.compare(scheme, Qt::CaseInsensitive) == 0 &&
               entry.service.compare(service, Qt::CaseInsensitive) == 0;
    });
}

QString instantMessageSchemeForService(const QString &service)
{
    for (const ServiceScheme &entry : serviceSchemes())
        if (entry.service.compare(service, Qt::CaseInsensitive) == 0)
            return entry.scheme;
    return QStringLiteral("im");
}

QString instantMessageServiceForProperty(const QString &propertyName)
{
    static const QList<std::pair<QString, QString>> properties{
        {"X-AIM", "AIM"},
        {"X-MSN", "MSN"},
        {"X-JABBER", "Jabber"},
        {"X-YAHOO", "Yahoo"},
        {"X-FACEBOOK", "Facebook"},
        {"X-GADUGADU", "GaduGadu"},
        {"X-SKYPE", "Skype"},
        {"X-GOOGLETALK", "GoogleTalk"},
        {"X-GOOGLE-TALK", "GoogleTalk"},
        {"X-ICQ", "ICQ"},
        {"X-QQ", "QQ"},
    };
    for (const auto &[property, service] : properties)
        if (property.compare(propertyName, Qt::CaseInsensitive) == 0)
            return service;
    return {};
}

} // namespace VCardLabels
