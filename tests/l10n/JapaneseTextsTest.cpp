// Every text the program looks up has a Japanese text with the same placeholders. The keys come
// from the sources (the literal keys of the lookup forms below) and from the tables that are
// looked up at run time (labels, identifiers, encodings, print choices, the menus and popups of a
// window). A failure lists the missing keys as JSON lines to paste into resources/l10n/ja.json.

#include "addressbook/SortOptions.h"
#include "addressbook/TextEncodings.h"
#include "addressbook/ViewTypes.h"
#include "app/MainMenu.h"
#include "app/WindowFixture.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "print/AccessoryViewController.h"
#include "print/AddressTextSwitches.h"
#include "print/EnvelopeTab.h"
#include "print/PrintUnit.h"
#include "print/SharedOptionsBox.h"

#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Looked up only to be compared or logged, never shown.
const QSet<QString> NotShown{};

// A function that looks one of its string arguments up: its name, the file it must be called in
// (empty: any) and which of its string literals is the key.
struct LookupForm
{
    QString function;
    QString file;
    int literal;
};

const QList<LookupForm> TitleForms{
    {QStringLiteral("addPopup"), QString(), 1},        // toolbar popups: icon name, title key
    {QStringLiteral("addTitleItem"), QString(), 0},    // popup menu titles
    {QStringLiteral("addActionItem"), QString(), 0},   // popup menu items
    {QStringLiteral("addSwitch"), QString(), 0},       // print check boxes
    {QStringLiteral("localizedIdentifierForKey"), QString(), 0},
    {QStringLiteral("addMenu"), QStringLiteral("MainMenu.cpp"), 0},
    {QStringLiteral("addSubmenu"), QStringLiteral("MainMenu.cpp"), 0},
    {QStringLiteral("addItem"), QStringLiteral("MainMenu.cpp"), 0},
    {QStringLiteral("item"), QStringLiteral("DetailRowMenu.cpp"), 0}, // detail row menu items
    {QStringLiteral("titleOf"), QString(), 0},                         // find panel filter captions
    {QStringLiteral("titled"), QStringLiteral("ListEditorColumns.cpp"), 0}, // list editor columns
    {QStringLiteral("preset"), QStringLiteral("PrintOptionsDict.cpp"), 0},  // mailing-label presets
};

QString sourceDir()
{
    return QStringLiteral(CT_SOURCE_DIR "/src");
}

// The end of the call whose opening parenthesis is at open (string contents skipped), or -1.
qsizetype closingParenthesis(const QString &text, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            for (++i; i < text.size() && text.at(i) != u'"'; ++i) {
                if (text.at(i) == u'\\')
                    ++i;
            }
        } else if (c == u'\'') {
            for (++i; i < text.size() && text.at(i) != u'\''; ++i) {
                if (text.at(i) == u'\\')
                    ++i;
            }
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')' && --depth == 0) {
            return i;
        }
    }
    return -1;
}

QString unescaped(const QString &literal)
{
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal.at(i) != u'\\' || i + 1 == literal.size()) {
            text += literal.at(i);
            continue;
        }
        const QChar c = literal.at(++i);
        if (c == u'u' && i + 4 < literal.size()) {
            text += QChar(literal.mid(i + 1, 4).toUShort(nullptr, 16));
            i += 4;
        } else if (c == u'n') {
            text += u'\n';
        } else if (c == u't') {
            text += u'\t';
        } else {
            text += c;
        }
    }
    return text;
}

// The string literals of a piece of code, adjacent ones joined as the compiler joins them.
QStringList literals(const QString &code)
{
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    QStringList found;
    qsizetype lastEnd = -1;
    for (const QRegularExpressionMatch &match : literal.globalMatch(code)) {
        const QString text = unescaped(match.captured(1));
        if (lastEnd >= 0 && !found.isEmpty() && code.mid(lastEnd, match.capturedStart() - lastEnd).trimmed().isEmpty())
            found.last() += text;
        else
            found.append(text);
        lastEnd = match.capturedEnd();
    }
    return found;
}

struct SourceKeys
{
    QMap<QString, QString> places; // key -> where it is first looked up
    QStringList filledBeforeLookup;
    // Named keys of every file (const QString Name = QStringLiteral("...")), for PersonKey::Name.
    QHash<QString, QStringList> sharedConstants;
};

QString readSource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Named keys: Name = QStringLiteral("..."), lists Names{QStringLiteral("..."), ...} and loops
// for (const QString &name : {QStringLiteral("..."), ...}), whose names L(...) is then given.
QHash<QString, QStringList> namedKeys(const QString &code)
{
    static const QRegularExpression constant(QStringLiteral(R"re(\b(\w+)\s*=\s*QStringLiteral\(("(?:[^"\\]|\\.)*")\))re"));
    static const QRegularExpression list(
        QStringLiteral(R"re(\b(\w+)\s*(?:=\s*)?\{((?:\s*QStringLiteral\("(?:[^"\\]|\\.)*"\)\s*,?)+)\})re"));
    static const QRegularExpression loop(
        QStringLiteral(R"re(for\s*\([^:;()]*\b(\w+)\s*:\s*\{((?:\s*QStringLiteral\("(?:[^"\\]|\\.)*"\)\s*,?)+)\})re"));
    QHash<QString, QStringList> constants;
    for (const QRegularExpressionMatch &match : constant.globalMatch(code))
        constants.insert(match.captured(1), literals(match.captured(2)).mid(0, 1));
    for (const QRegularExpression *lists : {&list, &loop}) {
        for (const QRegularExpressionMatch &match : lists->globalMatch(code))
            constants[match.captured(1)] += literals(match.captured(2));
    }
    return constants;
}

void scanFile(const QString &path, SourceKeys &keys)
{
    const QString code = readSource(path);
    const QString place = path.mid(sourceDir().size() + 1);
    QHash<QString, QStringList> constants = namedKeys(code);
    for (auto it = keys.sharedConstants.begin(); it != keys.sharedConstants.end(); ++it) {
        // Only constants (capitalised) reach across files; a local "name" or "title" does not.
        if (!constants.contains(it.key()) && it->size() == 1 && it.key().front().isUpper())
            constants.insert(it.key(), *it);
    }

    static const QRegularExpression call(QStringLiteral(R"re((?<![\w.>:])(\w+)\()re"));
    for (const QRegularExpressionMatch &match : call.globalMatch(code)) {
        const QString function = match.captured(1);
        const qsizetype open = match.capturedEnd() - 1;
        const qsizetype close = closingParenthesis(code, open);
        if (close < 0)
            continue;
        const QString arguments = code.mid(open + 1, close - open - 1);
        QStringList found;
        if (function == u"L") {
            if (arguments.contains(QLatin1String(".arg(")) || arguments.contains(QLatin1String("fill(")))
                keys.filledBeforeLookup.append(place + QStringLiteral(": L(") + arguments.simplified() + u')');
            found = literals(arguments);
            if (found.isEmpty()) {
                // A named key, or a ternary of them.
                static const QRegularExpression name(QStringLiteral(R"re(\b\w+\b)re"));
                for (const QRegularExpressionMatch &word : name.globalMatch(arguments)) {
                    found += constants.value(word.captured());
                }
            }
        } else {
            for (const LookupForm &form : TitleForms) {
                if (form.function == function && (form.file.isEmpty() || path.endsWith(form.file))) {
                    const QStringList all = literals(arguments);
                    if (form.literal < all.size())
                        found.append(all.at(form.literal));
                }
            }
        }
        for (const QString &key : found) {
            if (!keys.places.contains(key))
                keys.places.insert(key, place);
        }
    }
}

SourceKeys scanSources()
{
    SourceKeys keys;
    QStringList paths;
    QDirIterator files(sourceDir(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        paths.append(files.next());
    for (const QString &path : paths) {
        const QHash<QString, QStringList> constants = namedKeys(readSource(path));
        for (auto it = constants.begin(); it != constants.end(); ++it) {
            QStringList &values = keys.sharedConstants[it.key()];
            for (const QString &value : *it) {
                if (!values.contains(value))
                    values.append(value);
            }
        }
    }
    for (const QString &path : paths)
        scanFile(path, keys);
    return keys;
}

// Read from the source tree, so that a filled-in table is checked again without a build.
QHash<QString, QString> table(const QString &language)
{
    QFile file(QStringLiteral(CT_SOURCE_DIR "/resources/l10n/%1.json").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << language.toStdString();
    QHash<QString, QString> texts;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it)
        texts.insert(it.key(), it.value().toString());
    return texts;
}

// "%@", "%ld", "%1"... in order of kind, so that a translation may move them about.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral(R"re(%(?:@|l?l?[dus]|\d+))re"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

QString jsonLine(const QString &key)
{
    const QByteArray quoted = QJsonDocument(QJsonObject{{key, QString()}}).toJson(QJsonDocument::Compact);
    // {"key":""} -> "key": ""
    return QString::fromUtf8(quoted.mid(1, quoted.size() - 2)).replace(QStringLiteral("\":\"\""),
                                                                       QStringLiteral("\": \"\""));
}

class JapaneseTextsTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        Localizer::shared().setRecordedKeys(&m_recorded);
    }
    void TearDown() override
    {
        Localizer::shared().setRecordedKeys(nullptr);
        WindowFixture::TearDown();
    }

    // The keys that the tables and a window look up at run time.
    QSet<QString> runTimeKeys()
    {
        makeWindow();
        MainMenu *menu = m_window->mainMenu();
        for (QAction *item : menu->items())
            m_recorded.insert(menu->titleKey(item));
        menu->translate();

        // Identifiers: column headers, detail rows, the view-type, items and sort-options menus.
        QStringList identifiers = QNPerson::allIdentifiers() + QNPerson::addressIdentifiers() +
                                  QNPerson::phoneticIdentifiers() + QNPerson::CNIdentifiers().keys();
        identifiers << PersonIdentifier::NameOrdering << PersonIdentifier::NameDisplay << PersonIdentifier::Groups;
        for (const ViewTypes::ViewType &viewType : ViewTypes::builtIn())
            identifiers << viewType.name << viewType.columns;
        for (const SortOptions::Column &column : SortOptions::builtIn())
            identifiers << column.column << column.items;
        for (const QString &identifier : identifiers)
            QNPerson::localizedIdentifierForKey(identifier);
        const QNPerson::LabelTable labels = QNPerson::labelTableDict();
        for (auto it = labels.begin(); it != labels.end(); ++it) {
            for (const QString &label : *it)
                QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label));
        }
        QNPerson::localizedLabelFromCNLabel(QNPerson::labelFromCNLabel(QString()));
        // The detail and merge tables look these labels up themselves.
        for (const QString &identifier : {PersonIdentifier::NameOrdering, QStringLiteral("Show as Person")}) {
            for (const QString &label : labels.value(identifier))
                m_recorded.insert(label);
        }
        for (const TextEncodings::Encoding &encoding : TextEncodings::all())
            m_recorded.insert(encoding.name);
        for (const QString &unit : PrintUnit::all())
            m_recorded.insert(unit);
        // The custom-item types, named in the custom-item sheet.
        m_recorded << PersonValueType::String << PersonValueType::Labeled;
        for (const QString &style : AccessoryViewController::styles())
            m_recorded.insert(style);
        EnvelopeTab envelope;
        SharedOptionsBox options;
        // The contact card's captions and field names, looked up as the card is made.
        QFile card(QStringLiteral(":/html/contact.html"));
        EXPECT_TRUE(card.open(QIODevice::ReadOnly));
        static const QRegularExpression caption(QStringLiteral(R"re(class="(?:caption|field)"[^>]*>([^<]+)<)re"));
        const QString html = QString::fromUtf8(card.readAll());
        for (const QRegularExpressionMatch &match : caption.globalMatch(html))
            m_recorded.insert(match.captured(1).trimmed());
        // Its home and work places show their ids until a value fills them.
        static const QRegularExpression place(QStringLiteral(R"re(id="((?:Home|Work)-\w+)")re"));
        for (const QRegularExpressionMatch &match : place.globalMatch(html))
            m_recorded.insert(match.captured(1));
        m_recorded.remove(QString());
        return m_recorded;
    }

    QSet<QString> m_recorded;
};

} // namespace

TEST_F(JapaneseTextsTest, EveryLookedUpKeyHasAJapaneseTextWithItsPlaceholders)
{
    const SourceKeys sources = scanSources();
    EXPECT_TRUE(sources.filledBeforeLookup.isEmpty())
        << "Filled before the lookup, so never translated (fill the looked-up text instead):\n"
        << sources.filledBeforeLookup.join(u'\n').toStdString();
    EXPECT_GT(sources.places.size(), 150) << "the source scan found too few keys";

    QMap<QString, QString> keys = sources.places;
    for (const QString &key : runTimeKeys()) {
        if (!keys.contains(key))
            keys.insert(key, QStringLiteral("(run time)"));
    }

    const QHash<QString, QString> japanese = table(QStringLiteral("ja"));
    const QHash<QString, QString> english = table(QStringLiteral("en"));
    QStringList missing;
    QStringList places;
    QStringList differing;
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        const QString &key = it.key();
        if (NotShown.contains(key))
            continue;
        const auto text = japanese.constFind(key);
        if (text == japanese.constEnd() || text->isEmpty()) {
            missing.append(jsonLine(key) + u',');
            places.append(it.value() + QStringLiteral(": ") + key);
            continue;
        }
        const QString englishText = english.value(key, key);
        if (placeholders(*text) != placeholders(englishText))
            differing.append(jsonLine(key).chopped(2) + u'"' + *text + u'"');
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.size() << " keys without a Japanese text, to fill in ja.json:\n"
                                   << missing.join(u'\n').toStdString() << "\nLooked up in:\n"
                                   << places.join(u'\n').toStdString();
    EXPECT_TRUE(differing.isEmpty()) << "Placeholders differ from the English text:\n"
                                     << differing.join(u'\n').toStdString();
}

TEST_F(JapaneseTextsTest, TheScanFindsEveryLookupForm)
{
    // The scan itself: a literal key, a ternary of keys, a named key, a helper's title, and a
    // message filled before its lookup.
    const QString code = QStringLiteral(R"code(
        const QString Named = QStringLiteral("Named key");
        a = L(QStringLiteral("Plain \u201C%@\u201D"));
        b = L(on ? QStringLiteral("Yes") : QStringLiteral("No"));
        c = L(Named);
        d = L(QStringLiteral("Long "
                             "text"));
        addPopup(QStringLiteral("icon"), QStringLiteral("Popup"));
        e = L(QStringLiteral("In %1").arg(x));
        for (const QString &mode : {QStringLiteral("Mode A"), QStringLiteral("Mode B")})
            box->addItem(L(mode));
        const QStringList Columns{QStringLiteral("Column A"), QStringLiteral("Column B")};
        g = L(Columns.at(section));
        f = XL(QStringLiteral("Not a lookup"));
    )code");
    SourceKeys keys;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString samplePath = dir.filePath(QStringLiteral("Sample.cpp"));
    QFile out(samplePath);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(code.toUtf8());
    out.close();
    scanFile(samplePath, keys);
    const QStringList expected{QStringLiteral("Plain \u201C%@\u201D"), QStringLiteral("Yes"), QStringLiteral("No"),
                               QStringLiteral("Named key"), QStringLiteral("Long text"), QStringLiteral("Popup"),
                               QStringLiteral("In %1"), QStringLiteral("Mode A"), QStringLiteral("Mode B"),
                               QStringLiteral("Column A"), QStringLiteral("Column B")};
    for (const QString &key : expected)
        EXPECT_TRUE(keys.places.contains(key)) << key.toStdString();
    EXPECT_FALSE(keys.places.contains(QStringLiteral("Not a lookup")));
    EXPECT_FALSE(keys.places.contains(QStringLiteral("icon")));
    EXPECT_EQ(keys.filledBeforeLookup.size(), 1);
}
