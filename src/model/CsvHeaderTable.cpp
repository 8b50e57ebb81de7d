#include "model/CsvHeaderTable.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreLabels.h"

#include <QList>
#include <QRegularExpression>

#include <optional>

namespace CsvHeaderTable {
namespace {

// How a column's cells join the entries of a list.
enum class Entry
{
    None,       // not a list
    Own,        // every cell an entry of its own ("Home Phone 2")
    SameLabel,  // the columns of one label build one entry ("Home Street", "Home City")
    SameNumber, // the columns of one number build one entry ("Phone 1 - Type", "Phone 1 - Value")
};

struct Form
{
    QRegularExpression pattern;
    QString kind;
    QString part;
    // Empty: taken from the words of the pattern's groups "label" and "after".
    QString label;
    Entry entry = Entry::None;
    Language language = Language::English;
};

Form form(const QString &pattern, const QString &kind, const QString &part = {}, const QString &label = {},
          Entry entry = Entry::None, Language language = Language::English)
{
    return {QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                               QRegularExpression::CaseInsensitiveOption),
            kind, part, label, entry, language};
}

// A column of a whole value in another language than English.
Form in(Language language, const QString &pattern, const QString &kind, const QString &part = {})
{
    return form(pattern, kind, part, {}, Entry::None, language);
}

// A value column of a list: the label from its fixed word or from the header's words.
Form entry(const QString &pattern, const QString &kind, const QString &label = {},
           Language language = Language::English)
{
    return form(pattern, kind, ValuePart, label, Entry::Own, language);
}

// An address part of the entry of the header's label words; without any, "other".
Form addressPart(const QString &pattern, const QString &part, Language language = Language::English)
{
    return form(pattern, QStringLiteral("Address"), part, {}, Entry::SameLabel, language);
}

// English address parts: "Home City", "Business Street 2", "Postal Code".
Form englishAddressPart(const QString &pattern, const QString &part)
{
    return addressPart(QStringLiteral(R"((?:(?<label>home|business|work|other)\s*)?(?:)") + pattern +
                           QStringLiteral(")"),
                       part);
}

// A column of the numbered pairs of web address books: "Phone 1 - Type", "Address 2 - City".
Form numbered(const QString &series, const QString &column, const QString &kind, const QString &part)
{
    return form(series + QStringLiteral(R"(\s*(?<n>\d+)\s*-\s*(?:)") + column + QStringLiteral(")"), kind,
                part, {}, Entry::SameNumber);
}

const QString Type = QStringLiteral("type|label");
const QString Value = QStringLiteral("value");
const QString Phone = QStringLiteral("Phone");
const QString Email = QStringLiteral("Email");
const QString Url = QStringLiteral("URL");
const QString Relationship = QStringLiteral("Relationship");

// The German, French and Japanese columns of the mail program's exports, as their own rows.
void addOtherLanguages(QList<Form> &table)
{
    constexpr Language De = Language::German;
    constexpr Language Fr = Language::French;
    constexpr Language Ja = Language::Japanese;
    // A German label word stands after the part ("Ort privat") or before it ("Weiterer Ort").
    const QString deAfter = QStringLiteral(R"((?:\s+(?<after>geschäftlich|privat))?(?:\s*\d+)?)");
    const QString deBefore = QStringLiteral(R"((?:(?<label>weiter(?:e|er|es)(?:/[res])?)\s+)?)");
    // French and Japanese ones stand in parentheses: "Ville (bureau)", "市町村 (会社)".
    const QString frLabel = QStringLiteral(R"(\s*\((?<after>bureau|domicile|autre)\)(?:\s*\d+)?)");
    const QString jaLabel = QStringLiteral(R"(\s*\((?<after>会社|自宅|その他)\))");
    table += {
        in(De, QStringLiteral("anrede"), QStringLiteral("Title")),
        in(De, QStringLiteral("vorname"), QStringLiteral("Name"), PersonKey::FirstName),
        in(De, QStringLiteral(R"(weitere\s+vornamen)"), QStringLiteral("Name"), PersonKey::MiddleName),
        in(De, QStringLiteral("nachname"), QStringLiteral("Name"), PersonKey::LastName),
        in(De, QStringLiteral(R"(vorname\s+yomi)"), PersonIdentifier::PhoneticName, PersonKey::FirstName),
        in(De, QStringLiteral(R"(nachname\s+yomi)"), PersonIdentifier::PhoneticName, PersonKey::LastName),
        in(De, QStringLiteral("firma"), QStringLiteral("Company")),
        in(De, QStringLiteral("abteilung"), QStringLiteral("Department")),
        in(De, QStringLiteral("position"), QStringLiteral("Job Title")),
        in(De, QStringLiteral("geburtstag"), QStringLiteral("Birthday")),
        in(De, QStringLiteral("notizen"), QStringLiteral("Note")),
        entry(QStringLiteral(R"(telefon\s+gesch(?:ä|ae)ftlich(?:\s*\d+)?)"), Phone, QStringLiteral("work"),
              De),
        entry(QStringLiteral(R"(telefon\s*\(?privat(?:\s*\d+)?\)?)"), Phone, QStringLiteral("home"), De),
        entry(QStringLiteral(R"(mobiltelefon(?:\s*\d+)?)"), Phone, QStringLiteral("mobile"), De),
        entry(QStringLiteral(R"(haupttelefon|telefon\s+firma)"), Phone, QStringLiteral("main"), De),
        entry(QStringLiteral(R"(fax\s+gesch(?:ä|ae)ftlich)"), Phone, QStringLiteral("work fax"), De),
        entry(QStringLiteral(R"(fax\s+privat)"), Phone, QStringLiteral("home fax"), De),
        entry(QStringLiteral(R"(weiteres\s+fax)"), Phone, QStringLiteral("other fax"), De),
        entry(
            QStringLiteral(
                R"(weiteres\s+telefon|autotelefon|telefon\s+assistent|rückmeldung|telefon für hörbehinderte)"),
            Phone, QStringLiteral("other"), De),
        entry(QStringLiteral(R"(e-?mail(?:-|\s*\d+:\s*)adresse)"), Email, QStringLiteral("other"), De),
        entry(QStringLiteral("webseite"), Url, QStringLiteral("other"), De),
        entry(QStringLiteral("kinder"), Relationship, QStringLiteral("child"), De),
        entry(QStringLiteral(R"(name\s+des/der\s+vorgesetzten)"), Relationship, QStringLiteral("manager"),
              De),
        entry(QStringLiteral(R"(name\s+assistent)"), Relationship, QStringLiteral("assistant"), De),
        addressPart(deBefore + QStringLiteral(R"((?:stra(?:ß|ss)e|postfach))") + deAfter, PersonKey::Street,
                    De),
        addressPart(QStringLiteral(R"((?<label>weiterer)\s+ort|ort\s+(?<after>geschäftlich|privat))"),
                    PersonKey::City, De),
        addressPart(deBefore + QStringLiteral(R"((?:region|bundesland/kanton))") + deAfter, PersonKey::State,
                    De),
        addressPart(deBefore + QStringLiteral("postleitzahl") + deAfter, PersonKey::ZIP, De),
        addressPart(deBefore + QStringLiteral("land/region") + deAfter, PersonKey::Country, De),

        // The title comes first in French exports, the job title, also "Titre", later.
        in(Fr, QStringLiteral("titre"), QStringLiteral("Title")),
        in(Fr, QStringLiteral("titre|fonction"), QStringLiteral("Job Title")),
        in(Fr, QStringLiteral("prénom"), QStringLiteral("Name"), PersonKey::FirstName),
        in(Fr, QStringLiteral(R"(deuxième\s+prénom)"), QStringLiteral("Name"), PersonKey::MiddleName),
        in(Fr, QStringLiteral(R"(nom(?:\s+de\s+famille)?)"), QStringLiteral("Name"), PersonKey::LastName),
        in(Fr, QStringLiteral(R"(prénom\s+yomi)"), PersonIdentifier::PhoneticName, PersonKey::FirstName),
        in(Fr, QStringLiteral(R"(nom\s+yomi)"), PersonIdentifier::PhoneticName, PersonKey::LastName),
        in(Fr, QStringLiteral("suffixe"), QStringLiteral("Suffix")),
        in(Fr, QStringLiteral("société"), QStringLiteral("Company")),
        in(Fr, QStringLiteral("service"), QStringLiteral("Department")),
        in(Fr, QStringLiteral("anniversaire"), QStringLiteral("Birthday")),
        entry(QStringLiteral(R"(téléphone(?:\s*\d+)?\s*\(bureau\)|téléphone professionnel)"), Phone,
              QStringLiteral("work"), Fr),
        entry(QStringLiteral(R"(téléphone(?:\s*\d+)?\s*\(domicile\)|téléphone personnel)"), Phone,
              QStringLiteral("home"), Fr),
        entry(QStringLiteral(R"(tél(?:\.|éphone)\s*mobile|téléphone portable)"), Phone,
              QStringLiteral("mobile"), Fr),
        entry(QStringLiteral(R"(téléphone\s+(?:principal|société))"), Phone, QStringLiteral("main"), Fr),
        entry(QStringLiteral(R"(télécopie\s*\(bureau\)|télécopie professionnelle)"), Phone,
              QStringLiteral("work fax"), Fr),
        entry(QStringLiteral(R"(télécopie\s*\(domicile\)|télécopie personnelle|télécopieur personnel)"),
              Phone, QStringLiteral("home fax"), Fr),
        entry(QStringLiteral(R"(télécopie\s*\(autre\))"), Phone, QStringLiteral("other fax"), Fr),
        entry(QStringLiteral("récepteur de radiomessagerie"), Phone, QStringLiteral("pager"), Fr),
        entry(QStringLiteral(R"(téléphone\s*\((?:autre|voiture)\)|téléphone de l'assistant\(e\)|rappel|rnis|)"
                             R"(radio\s*-?\s*téléphone|téléphone tdd/tty|télex)"),
              Phone, QStringLiteral("other"), Fr),
        entry(QStringLiteral(R"(adresse de (?:messagerie|courrier)(?:\s*\d+)?)"), Email,
              QStringLiteral("other"), Fr),
        entry(QStringLiteral(R"(page\s+web)"), Url, QStringLiteral("other"), Fr),
        entry(QStringLiteral(R"(conjoint\(e\))"), Relationship, QStringLiteral("spouse"), Fr),
        entry(QStringLiteral("enfants"), Relationship, QStringLiteral("child"), Fr),
        entry(QStringLiteral("responsable"), Relationship, QStringLiteral("manager"), Fr),
        entry(QStringLiteral(R"(nom de l'assistant\(e\))"), Relationship, QStringLiteral("assistant"), Fr),
        addressPart(QStringLiteral("rue") + frLabel, PersonKey::Street, Fr),
        addressPart(
            QStringLiteral(R"(b\.p\.\s*(?<after>professionnelle)|boîte postale du (?<label>domicile)|)"
                           R"(autre boîte postale)"),
            PersonKey::Street, Fr),
        addressPart(QStringLiteral("ville") + frLabel, PersonKey::City, Fr),
        addressPart(QStringLiteral("dép/région") + frLabel, PersonKey::State, Fr),
        addressPart(QStringLiteral(R"(code\s+postal)") + frLabel, PersonKey::ZIP, Fr),
        addressPart(QStringLiteral(R"(pays(?:/région)?)") + frLabel, PersonKey::Country, Fr),

        in(Ja, QStringLiteral("肩書き"), QStringLiteral("Title")),
        in(Ja, QStringLiteral("名"), QStringLiteral("Name"), PersonKey::FirstName),
        in(Ja, QStringLiteral(R"(ミドル\s*ネーム)"), QStringLiteral("Name"), PersonKey::MiddleName),
        in(Ja, QStringLiteral("姓"), QStringLiteral("Name"), PersonKey::LastName),
        in(Ja, QStringLiteral(R"(名(?:前)?\s*(?:フリガナ|\(フリガナ\)))"), PersonIdentifier::PhoneticName,
           PersonKey::FirstName),
        in(Ja, QStringLiteral(R"(姓\s*(?:フリガナ|\(フリガナ\)))"), PersonIdentifier::PhoneticName,
           PersonKey::LastName),
        in(Ja, QStringLiteral("敬称"), QStringLiteral("Suffix")),
        in(Ja, QStringLiteral("会社名"), QStringLiteral("Company")),
        in(Ja, QStringLiteral("部署"), QStringLiteral("Department")),
        in(Ja, QStringLiteral("役職"), QStringLiteral("Job Title")),
        in(Ja, QStringLiteral("誕生日"), QStringLiteral("Birthday")),
        in(Ja, QStringLiteral("メモ"), QStringLiteral("Note")),
        entry(QStringLiteral(R"(会社電話(?:\s*\d+)?)"), Phone, QStringLiteral("work"), Ja),
        entry(QStringLiteral(R"(自宅電話(?:\s*\d+)?)"), Phone, QStringLiteral("home"), Ja),
        entry(QStringLiteral("携帯電話"), Phone, QStringLiteral("mobile"), Ja),
        entry(QStringLiteral("会社代表電話|通常の電話"), Phone, QStringLiteral("main"), Ja),
        entry(QStringLiteral(R"(会社\s*FAX)"), Phone, QStringLiteral("work fax"), Ja),
        entry(QStringLiteral(R"(自宅\s*FAX)"), Phone, QStringLiteral("home fax"), Ja),
        entry(QStringLiteral(R"(その他の\s*FAX)"), Phone, QStringLiteral("other fax"), Ja),
        entry(QStringLiteral("ポケットベル"), Phone, QStringLiteral("pager"), Ja),
        entry(QStringLiteral("その他の電話|秘書の電話|コールバック|自動車電話|無線電話|テレックス"), Phone,
              QStringLiteral("other"), Ja),
        entry(QStringLiteral(R"(電子メール\s*(?:\d+\s*)?アドレス)"), Email, QStringLiteral("other"), Ja),
        entry(QStringLiteral(R"(Web\s*ページ)"), Url, QStringLiteral("other"), Ja),
        entry(QStringLiteral("配偶者"), Relationship, QStringLiteral("spouse"), Ja),
        entry(QStringLiteral("子供"), Relationship, QStringLiteral("child"), Ja),
        entry(QStringLiteral("マネージャー"), Relationship, QStringLiteral("manager"), Ja),
        entry(QStringLiteral("秘書の氏名"), Relationship, QStringLiteral("assistant"), Ja),
        addressPart(QStringLiteral(R"((?:番地|住所\s*\d+))") + jaLabel, PersonKey::Street, Ja),
        addressPart(QStringLiteral("(?<label>会社|自宅|その他)住所私書箱"), PersonKey::Street, Ja),
        addressPart(QStringLiteral("市町村") + jaLabel, PersonKey::City, Ja),
        addressPart(QStringLiteral("都道府県") + jaLabel, PersonKey::State, Ja),
        addressPart(QStringLiteral("郵便番号") + jaLabel, PersonKey::ZIP, Ja),
        addressPart(QStringLiteral("国") + jaLabel + QStringLiteral("/地域"), PersonKey::Country, Ja),
    };
}

// First match wins. Headers that hold a known word but name something else ("E-mail Display
// Name", "Assistant's Name", "Organization 1 - Title") are matched whole, never by the word.
QList<Form> buildTable()
{
    QList<Form> table{
        // Names. A company's name is the company, not the person's.
        form(QStringLiteral(R"((?:(?:display|full|contact)\s*)?name)"), QStringLiteral("Name")),
        form(QStringLiteral(R"((?:first|given)(?:\s*name)?)"), QStringLiteral("Name"), PersonKey::FirstName),
        form(QStringLiteral(R"((?:middle|additional)(?:\s*name)?)"), QStringLiteral("Name"),
             PersonKey::MiddleName),
        form(QStringLiteral(R"((?:last|family)(?:\s*name)?|surname)"), QStringLiteral("Name"),
             PersonKey::LastName),
        form(QStringLiteral(R"(maiden\s*name)"), QStringLiteral("Name"), PersonKey::PreviousFamilyName),
        form(QStringLiteral(R"(phonetic\s*(?:first|given)\s*name|(?:first|given)\s*name\s*yomi)"),
             PersonIdentifier::PhoneticName, PersonKey::FirstName),
        form(QStringLiteral(R"(phonetic\s*middle\s*name|(?:middle|additional)\s*name\s*yomi)"),
             PersonIdentifier::PhoneticName, PersonKey::MiddleName),
        form(QStringLiteral(R"(phonetic\s*(?:last|family)\s*name|(?:last|family)\s*name\s*yomi)"),
             PersonIdentifier::PhoneticName, PersonKey::LastName),
        form(QStringLiteral(R"((?:name\s*)?prefix|title)"), QStringLiteral("Title")),
        form(QStringLiteral(R"((?:name\s*)?suffix)"), QStringLiteral("Suffix")),
        form(QStringLiteral(R"(nick\s*name)"), QStringLiteral("Nickname")),
        form(QStringLiteral(R"(company(?:\s*name)?|organi[sz]ation(?:\s*(?:1\s*-\s*)?name)?)"),
             QStringLiteral("Company")),
        form(QStringLiteral(R"(job\s*title|organi[sz]ation\s*(?:1\s*-\s*)?title)"),
             QStringLiteral("Job Title")),
        form(QStringLiteral(R"((?:organi[sz]ation\s*(?:1\s*-\s*)?)?department)"),
             QStringLiteral("Department")),
        form(QStringLiteral(R"(birthday|birth\s*date|date\s*of\s*birth)"), QStringLiteral("Birthday")),
        form(QStringLiteral(R"(birth\s+year)"), QStringLiteral("Birthday"), PersonKey::Year),
        form(QStringLiteral(R"(birth\s+month)"), QStringLiteral("Birthday"), PersonKey::Month),
        form(QStringLiteral(R"(birth\s+day)"), QStringLiteral("Birthday"), PersonKey::Day),
        form(QStringLiteral(R"(notes?|comments?)"), QStringLiteral("Note")),
        entry(QStringLiteral("facebook"), QStringLiteral("Social Network"), StoreSocialService::Facebook),
        entry(QStringLiteral("linkedin"), QStringLiteral("Social Network"), StoreSocialService::LinkedIn),
        entry(QStringLiteral("flickr"), QStringLiteral("Social Network"), StoreSocialService::Flickr),
        entry(QStringLiteral(R"(sina\s*weibo)"), QStringLiteral("Social Network"),
              StoreSocialService::SinaWeibo),

        // Numbered pairs.
        numbered(QStringLiteral("phone"), Type, Phone, LabelPart),
        numbered(QStringLiteral("phone"), Value, Phone, ValuePart),
        numbered(QStringLiteral("e-?mail"), Type, Email, LabelPart),
        numbered(QStringLiteral("e-?mail"), Value, Email, ValuePart),
        numbered(QStringLiteral("website"), Type, Url, LabelPart),
        numbered(QStringLiteral("website"), Value, Url, ValuePart),
        numbered(QStringLiteral("relation"), Type, Relationship, LabelPart),
        numbered(QStringLiteral("relation"), Value, Relationship, ValuePart),
        numbered(QStringLiteral("address"), Type, QStringLiteral("Address"), LabelPart),
        numbered(QStringLiteral("address"), QStringLiteral("street|po\\s*box|extended\\s*address"),
                 QStringLiteral("Address"), PersonKey::Street),
        numbered(QStringLiteral("address"), QStringLiteral("city"), QStringLiteral("Address"),
                 PersonKey::City),
        numbered(QStringLiteral("address"), QStringLiteral("region"), QStringLiteral("Address"),
                 PersonKey::State),
        numbered(QStringLiteral("address"), QStringLiteral(R"(postal\s*code)"), QStringLiteral("Address"),
                 PersonKey::ZIP),
        numbered(QStringLiteral("address"), QStringLiteral("country"), QStringLiteral("Address"),
                 PersonKey::Country),

        // Phones, e-mail addresses and web pages, one entry per column.
        entry(QStringLiteral(R"(home\s*fax)"), Phone, QStringLiteral("home fax")),
        entry(QStringLiteral(R"((?:business|work)\s*fax)"), Phone, QStringLiteral("work fax")),
        entry(QStringLiteral(R"((?:other\s*)?fax(?:\s*number)?)"), Phone, QStringLiteral("other fax")),
        entry(QStringLiteral(R"(pager(?:\s*number)?)"), Phone, QStringLiteral("pager")),
        entry(QStringLiteral(R"((?:company\s*)?main\s*phone|primary\s*phone)"), Phone,
              QStringLiteral("main")),
        // Webmail exports name the personal mobile "Home Mobile": a mobile, not a home phone.
        entry(QStringLiteral(R"((?:(?:home|personal|work|business|other)\s*)?(?:mobile|cell(?:ular)?))"
                             R"((?:\s*(?:phone|number))?(?:\s*\d+)?)"),
              Phone, QStringLiteral("mobile")),
        entry(QStringLiteral(
                  R"((?<label>[^-]*?)\s*(?:tele)?phone(?:\s*number)?(?:\s*\d+)?|callback|isdn|telex)"),
              Phone),
        entry(QStringLiteral(R"((?<label>[^-]*?)\s*e-?mail(?:\s*\d+)?(?:\s*address)?(?:\s*\d+)?)"), Email),
        entry(QStringLiteral(R"((?<label>[^-]*?)\s*(?:web\s*(?:page|site)|url|home\s*page)(?:\s*\d+)?)"),
              Url),
        entry(QStringLiteral("spouse"), Relationship, QStringLiteral("spouse")),
        entry(QStringLiteral("partner"), Relationship, QStringLiteral("partner")),
        entry(QStringLiteral(R"(child(?:ren)?)"), Relationship, QStringLiteral("child")),
        entry(QStringLiteral(R"(manager(?:['’]s)?(?:\s*name)?)"), Relationship, QStringLiteral("manager")),
        entry(QStringLiteral(R"(assistant(?:['’]s)?(?:\s*name)?)"), Relationship,
              QStringLiteral("assistant")),

        // Addresses, one entry per label; further street columns are further lines of it.
        englishAddressPart(QStringLiteral(R"((?:zip|postal)(?:\s*code)?)"), PersonKey::ZIP),
        englishAddressPart(QStringLiteral("state|region|province"), PersonKey::State),
        englishAddressPart(QStringLiteral("city|town"), PersonKey::City),
        englishAddressPart(QStringLiteral("country(?:/region)?"), PersonKey::Country),
        englishAddressPart(
            QStringLiteral(R"((?:street|address)(?:\s*\d+)?|(?:address\s*)?p\.?\s*o\.?\s*box)"),
            PersonKey::Street),
    };
    addOtherLanguages(table);
    return table;
}

const QList<Form> &forms()
{
    static const QList<Form> table = buildTable();
    return table;
}

// What any form matches, as one pattern (the forms' named groups left unnamed, since names repeat
// among them): most headers of a file that is no table of contacts match no form, and are told
// so by one match instead of one per form.
const QRegularExpression &anyForm()
{
    static const QRegularExpression pattern = [] {
        QStringList alternatives;
        for (const Form &form : forms())
            alternatives.append(form.pattern.pattern());
        static const QRegularExpression namedGroup(QStringLiteral(R"(\(\?<\w+>)"));
        return QRegularExpression(
            alternatives.join(QLatin1Char('|')).replace(namedGroup, QStringLiteral("(?:")),
            QRegularExpression::CaseInsensitiveOption);
    }();
    return pattern;
}

// Kind-first headers ("Email Home", "Phone 2 Mobile", "Website Blog") name the label last; they
// read as the label-first header of the same words.
QString labelFirst(const QString &header)
{
    static const QRegularExpression kindFirst(
        QStringLiteral(R"(^((?:tele)?phone|e-?mail|web\s*(?:site|page)|url)(\s*\d+)?\s+)"
                       R"((home|work|business|other|personal|mobile|cell|main|pager|video|blog|profile))"
                       R"((\s*\d+)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kindFirst.match(header);
    if (!match.hasMatch())
        return header;
    return match.captured(3) + QLatin1Char(' ') + match.captured(1) + match.captured(2) + match.captured(4);
}

// The label that the words of a header give: "Home" home, "Work" or "Business" work, "Mobile"
// mobile, and the like in the other languages; anything else other.
QString labelFromWords(const QString &words)
{
    static const QList<std::pair<QString, QStringList>> labels{
        {QStringLiteral("home"), {"home", "privat", "domicile", "自宅"}},
        {QStringLiteral("work"), {"work", "business", "geschäftlich", "bureau", "professionnel", "会社"}},
        {QStringLiteral("mobile"), {"mobile"}},
    };
    for (const auto &[label, keys] : labels) {
        for (const QString &key : keys) {
            if (words.contains(key, Qt::CaseInsensitive))
                return label;
        }
    }
    return QStringLiteral("other");
}

QString entryKey(const Form &form, const QString &label, const QRegularExpressionMatch &match)
{
    switch (form.entry) {
    case Entry::SameLabel:
        return form.kind + QLatin1Char(' ') + label;
    case Entry::SameNumber:
        return form.kind + QLatin1String(" #") + QString::number(match.captured(u"n").toInt());
    default:
        return QString();
    }
}

Column columnOf(const Form &form, const QRegularExpressionMatch &match)
{
    Column column{form.kind, form.part, form.label, {}, form.entry == Entry::SameNumber, form.language};
    if (form.entry != Entry::None && column.label.isEmpty())
        column.label = labelFromWords(match.captured(u"label") + QLatin1Char(' ') + match.captured(u"after"));
    column.entryKey = entryKey(form, column.label, match);
    return column;
}

} // namespace

Column HeaderReader::columnFor(const QString &header)
{
    const QString trimmed = header.trimmed();
    auto seen = m_headers.find(trimmed);
    if (seen == m_headers.end()) {
        Readings readings;
        const QString text = labelFirst(trimmed);
        for (const Form &form : anyForm().match(text).hasMatch() ? forms() : QList<Form>()) {
            const QRegularExpressionMatch match = form.pattern.match(text);
            if (match.hasMatch())
                readings.columns.append(columnOf(form, match));
        }
        seen = m_headers.insert(trimmed, readings);
    }
    const QList<Column> &columns = seen->columns;
    if (columns.isEmpty())
        return Column();
    return columns.at(qMin(seen->repeats++, columns.size() - 1));
}

} // namespace CsvHeaderTable
