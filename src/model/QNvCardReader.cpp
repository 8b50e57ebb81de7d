#include "model/QNvCard.h"

#include "model/QNPersonKeys.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/PlatformUtil.h"
#include "platform/StoreVCardReader.h"
#include "platform/VCardContentLine.h"
#include "platform/VCardLineReader.h"

#include <QHash>
#include <QStringMatcher>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstring>

namespace {

const QString VCardContainerName = QStringLiteral("vCard");
const QString CategoryContainerName = QStringLiteral("Local");
constexpr QByteArrayView BeginWord = "BEGIN:VCARD";
constexpr QByteArrayView EndWord = "END:VCARD";
// A text this short cannot hold a card.
constexpr qsizetype ShortestCard = 11;

// X-ABUID names the card in another program's store; it is no value of the contact.
const QString ForeignCardIdName = QStringLiteral("ABUID");

// One X- line: a string item's value, or with a label an entry of a labelled item.
struct CustomLine
{
    QString name;
    QString value;
    std::optional<QString> label;
};

struct CardExtras
{
    // The pieces of each CATEGORIES line, in card order.
    QList<QStringList> categoryLines;
    QList<CustomLine> customLines;
    // The first UID, as written.
    QString uid;
};

// The end of the property name: the first ";" or ":"; the line's size when it has neither.
qsizetype nameEnd(QByteArrayView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == ';' || line.at(i) == ':')
            return i;
    }
    return line.size();
}

bool isCategoriesLine(QByteArrayView line)
{
    const QByteArrayView head = line.first(nameEnd(line));
    const qsizetype dot = head.lastIndexOf('.');
    return head.sliced(dot + 1).compare("CATEGORIES", Qt::CaseInsensitive) == 0;
}

// Split at commas that no backslash escapes; each piece unescaped.
QStringList splitCategories(const QString &text)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\')) {
            ++i;
        } else if (text.at(i) == QLatin1Char(',')) {
            pieces.append(VCardContentLine::unescape(QStringView(text).sliced(start, i - start)));
            start = i + 1;
        }
    }
    pieces.append(VCardContentLine::unescape(QStringView(text).sliced(start)));
    return pieces;
}

// The first TYPE value, else the parameters other than the value's encoding and charset as
// written, their values unquoted (the writer quotes the label as one TYPE value, which gives the
// same text back); nothing when only those describe the value (a plain string item). Blanks at
// the ends of a quoted value go, as the writer drops them.
std::optional<QString> customLabel(qsizetype parametersStart, const VCardContentLine &parsed)
{
    const QStringList types = parsed.parameterValues("TYPE");
    if (!types.isEmpty())
        return types.first().trimmed();
    const QByteArrayView line = parsed.line();
    const qsizetype colon = line.size() - parsed.rawValue().size() - 1;
    QStringList kept;
    const QByteArrayView parameters = line.sliced(parametersStart, colon - parametersStart);
    for (const QByteArray &parameter : VCardContentLine::splitOutsideQuotes(parameters, ';')) {
        const qsizetype equals = parameter.indexOf('=');
        // A bare word that is not a TYPE is an encoding word.
        if (equals < 0)
            continue;
        const QByteArray key = parameter.first(equals).trimmed();
        const QByteArray upper = key.toUpper();
        if (upper == "ENCODING" || upper == "CHARSET")
            continue;
        QByteArray value = parameter.sliced(equals + 1).trimmed();
        value.removeIf([](char c) { return c == '"'; });
        kept.append(QString::fromUtf8(key + '=' + value));
    }
    if (kept.isEmpty())
        return std::nullopt;
    return kept.join(QLatin1Char(';'));
}

// An ungrouped X- line of the card as a custom item, unless the name is one the reader takes
// for something else.
std::optional<CustomLine> customLine(const VCardContentLine &parsed)
{
    const QByteArrayView line = parsed.line();
    // Other programs' lower-case x- lines are theirs; ours are written in upper case.
    if (!line.startsWith("X-"))
        return std::nullopt;
    const qsizetype end = nameEnd(line);
    if (end == line.size())
        return std::nullopt;
    const QString name = QString::fromUtf8(line.sliced(2, end - 2)).trimmed();
    if (name.isEmpty() || QNvCard::isReservedCustomItemName(name))
        return std::nullopt;
    CustomLine custom{name, parsed.text(), std::nullopt};
    if (line.at(end) == ';')
        custom.label = customLabel(end + 1, parsed);
    return custom;
}

bool isUidLine(QByteArrayView line)
{
    if (line.size() < 4 || (line.at(0) != 'U' && line.at(0) != 'u'))
        return false;
    const qsizetype end = nameEnd(line);
    return end < line.size() && line.first(end).trimmed().compare("UID", Qt::CaseInsensitive) == 0;
}

// Takes what the card holds besides the store's values from one of its lines (which the store's
// parser hands over as it reads the card).
void collectExtras(CardExtras &extras, const VCardContentLine &line)
{
    if (std::optional<CustomLine> custom = customLine(line)) {
        extras.customLines.append(std::move(*custom));
    } else if (isCategoriesLine(line.line())) {
        extras.categoryLines.append(splitCategories(line.rawText()));
    } else if (extras.uid.isEmpty() && isUidLine(line.line())) {
        // The UID is read as written, whatever the file's encoding.
        VCardContentLine uid = line;
        uid.setFallbackCharset({});
        extras.uid = uid.rawText().trimmed();
    }
}

// The extras of every line of a card, for a card that is not read into a record.
CardExtras scanCard(const QByteArray &card)
{
    CardExtras extras;
    VCardLineReader reader(card);
    QByteArrayView line;
    while (reader.readLine(line))
        if (const std::optional<VCardContentLine> parsed = VCardContentLine::parse(line))
            collectExtras(extras, *parsed);
    return extras;
}

QStringList labelsOfItem(const QNPerson &person, const QString &name)
{
    const std::optional<QVariantMap> definition = person.customItemForIdentifier(name);
    return definition ? definition->value(PersonKey::ItemLabels).toStringList() : QStringList();
}

void addCustomLine(QNPerson &person, const CustomLine &line)
{
    const bool known = person.customIdentifiers().contains(line.name);
    const bool labeled = known && person.typeForIdentifier(line.name) == PersonValueType::Labeled;
    if (!line.label && !labeled) {
        if (!known)
            person.addCustomItem(PersonValueType::String, line.name, {}, std::nullopt);
        person.setValue(line.value, line.name);
        return;
    }
    // An unlabelled line of a labelled item joins its entries rather than replace them all.
    const QString label = line.label.value_or(QString());
    QStringList labels = labelsOfItem(person, line.name);
    if (!label.isEmpty() && !labels.contains(label))
        labels.append(label);
    person.addCustomItem(PersonValueType::Labeled, line.name, labels, std::nullopt);
    person.addLabeledValue(QVariantMap{{PersonKey::Value, line.value},
                                       {PersonKey::Label, label},
                                       {PersonKey::StringValue, line.value}},
                           line.name);
}

void addCustomLines(QNPerson &person, const QList<CustomLine> &lines)
{
    for (const CustomLine &line : lines)
        addCustomLine(person, line);
}

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Finds the lines of a text that are one marker word ("BEGIN:VCARD", "END:VCARD", any letter
// case) after unfolding: the word at the start of a line, nothing but blanks after it, and no
// continuation line carrying more. The word inside a value ("To send:vCard files", a note quoting
// a card, a folded URL) is no marker. Searches go forward only and remember where they got to,
// so that a text of many cards without END lines is still searched once.
class MarkerLines
{
public:
    MarkerLines(QByteArrayView text, QByteArrayView word)
        : m_text(text), m_word(word), m_colon(word.indexOf(':'))
    {
    }

    // The start of the first marker line at or after `from`; -1 when there is none.
    qsizetype next(qsizetype from)
    {
        if (m_searchedFrom >= 0 && m_searchedFrom <= from && (m_found < 0 || m_found >= from))
            return m_found;
        qsizetype at = find(from);
        while (at >= 0 && !isMarkerLine(at))
            at = find(at + 1);
        m_searchedFrom = from;
        m_found = at;
        return at;
    }

private:
    // The next place of the word, letter case ignored: found by its colon, which memchr finds fast.
    qsizetype find(qsizetype from) const
    {
        qsizetype colon = from + m_colon;
        while (colon < m_text.size()) {
            const void *found = std::memchr(m_text.data() + colon, ':', size_t(m_text.size() - colon));
            if (!found)
                return -1;
            colon = static_cast<const char *>(found) - m_text.data();
            const qsizetype at = colon - m_colon;
            if (at + m_word.size() <= m_text.size() &&
                m_text.sliced(at, m_word.size()).compare(m_word, Qt::CaseInsensitive) == 0)
                return at;
            ++colon;
        }
        return -1;
    }

    bool isMarkerLine(qsizetype at) const { return startsLogicalLine(at) && restIsBlank(at + m_word.size()); }

    bool startsText(qsizetype position) const
    {
        return position == 0 || (position == 3 && m_text.startsWith("\xEF\xBB\xBF"));
    }

    // At the start of a line that continues no other: not indented, or indented as the first line
    // of the text or after an empty line.
    bool startsLogicalLine(qsizetype at) const
    {
        qsizetype start = at;
        while (start > 0 && isBlank(m_text.at(start - 1)))
            --start;
        if (startsText(start))
            return true;
        if (!isLineBreak(m_text.at(start - 1)))
            return false;
        if (start == at)
            return true;
        // Back over the one line end (LF, CR LF, CR CR LF or CR) to the line before.
        qsizetype before = start - 1;
        if (m_text.at(before) == '\n') {
            --before;
            while (before >= 0 && m_text.at(before) == '\r')
                --before;
        } else {
            --before;
        }
        return before < 0 || isLineBreak(m_text.at(before));
    }

    // Whether the logical line from `position` on holds only blanks, its continuations included.
    bool restIsBlank(qsizetype position) const
    {
        const qsizetype size = m_text.size();
        for (;;) {
            while (position < size && isBlank(m_text.at(position)))
                ++position;
            if (position == size)
                return true;
            if (!isLineBreak(m_text.at(position)))
                return false;
            // Past the line end (CR LF, CR CR LF, LF or CR): a blank there starts a continuation.
            while (position < size && m_text.at(position) == '\r')
                ++position;
            if (position < size && m_text.at(position) == '\n')
                ++position;
            if (position == size || !isBlank(m_text.at(position)))
                return true;
        }
    }

    const QByteArrayView m_text;
    const QByteArrayView m_word;
    const qsizetype m_colon;
    qsizetype m_searchedFrom = -1;
    qsizetype m_found = -1;
};

// Finds the cards of a text, searching forward only. A card runs through the first line break
// after its END:VCARD line; one without an END of its own runs to the next BEGIN:VCARD line or the
// end of the text, so that a broken card does not swallow the next one.
class CardCutter
{
public:
    explicit CardCutter(QByteArrayView text) : m_text(text) {}

    struct Span
    {
        qsizetype begin = 0;
        qsizetype end = 0;
        bool terminated = true;
    };

    std::optional<Span> next(qsizetype from)
    {
        const qsizetype begin = m_begins.next(from);
        if (begin < 0)
            return std::nullopt;
        const qsizetype afterBegin = begin + BeginWord.size();
        const qsizetype end = m_ends.next(afterBegin);
        const qsizetype laterBegin = m_begins.next(afterBegin);
        if (end < 0 || (laterBegin >= 0 && laterBegin < end))
            return Span{begin, laterBegin >= 0 ? laterBegin : m_text.size(), false};
        return Span{begin, throughLineBreak(end + EndWord.size(), laterBegin), true};
    }

private:
    qsizetype throughLineBreak(qsizetype from, qsizetype laterBegin) const
    {
        const qsizetype limit = laterBegin >= 0 ? laterBegin : m_text.size();
        for (qsizetype i = from; i < limit; ++i) {
            if (isLineBreak(m_text.at(i)))
                return i + 1;
        }
        return from;
    }

    const QByteArrayView m_text;
    MarkerLines m_begins{m_text, BeginWord};
    MarkerLines m_ends{m_text, EndWord};
};

GroupDictPtr newTopGroup()
{
    auto group = std::make_shared<GroupDict>();
    group->top = true;
    group->name = L(QStringLiteral("All Contacts"));
    group->containerName = VCardContainerName;
    group->contactTable = std::make_shared<ContactTable>();
    return group;
}

GroupDictPtr newCategoryGroup(const QString &name)
{
    auto group = std::make_shared<GroupDict>();
    group->name = name;
    group->containerName = CategoryContainerName;
    group->uniqueId = name + QLatin1Char('-') + PlatformUtil::dateDescription();
    group->contactTable = std::make_shared<ContactTable>();
    return group;
}

// The container being read, with its category groups by name.
class VCardBook
{
public:
    VCardBook() : m_container(std::make_shared<ContainerDict>())
    {
        m_container->name = VCardContainerName;
        m_container->type = StoreContainerLocal;
        m_container->groups.append(newTopGroup());
    }

    // The groups of a card's categories, once per occurrence; new names make new groups. A
    // category named like the top group is a group of its own: the top group must not hold a
    // contact twice.
    QList<GroupDictPtr> groupsOf(const QList<QStringList> &categoryLines)
    {
        QList<GroupDictPtr> groups;
        for (const QStringList &line : categoryLines) {
            for (const QString &piece : line) {
                const QString name = piece.trimmed();
                if (name.isEmpty())
                    continue;
                GroupDictPtr &group = m_categories[name];
                if (!group) {
                    group = newCategoryGroup(name);
                    m_container->groups.append(group);
                }
                groups.append(group);
            }
        }
        return groups;
    }

    void addPerson(const QNPersonPtr &person, const QList<GroupDictPtr> &groups)
    {
        auto row = std::make_shared<ContactRow>();
        row->person = person;
        row->uniqueId = person->uniqueId();
        row->labelIndex = 0;
        row->isNew = true;
        m_container->topGroup()->contactTable->append(row);
        for (const GroupDictPtr &group : groups)
            group->contactTable->append(std::make_shared<ContactRow>(*row));
    }

    ContainerDictPtr finished()
    {
        std::stable_sort(m_container->groups.begin(), m_container->groups.end(),
                         [](const GroupDictPtr &a, const GroupDictPtr &b) {
                             if (a->top != b->top)
                                 return a->top;
                             return a->name < b->name;
                         });
        return m_container;
    }

private:
    ContainerDictPtr m_container;
    QHash<QString, GroupDictPtr> m_categories;
};

// One card parsed on a pool thread: what the book needs of it, in card order.
struct ParsedCard
{
    QByteArrayView text;
    bool terminated = true;
    QByteArrayView fallbackCharset;
    QList<QStringList> categoryLines;
    QNPersonPtr person;
};

bool holdsNothing(QNPerson &person)
{
    if (!person.photoData().isEmpty() || !person.customIdentifiers().isEmpty())
        return false;
    for (const QString &identifier : QNPerson::allIdentifiers()) {
        if (identifier == PersonIdentifier::Photo)
            continue;
        const QVariant value = person.valueForIdentifier(identifier);
        const QVariant text =
            value.typeId() == QMetaType::QVariantMap ? value.toMap().value(PersonKey::StringValue) : value;
        if (text.typeId() == QMetaType::QVariantList ? !text.toList().isEmpty() : !text.toString().isEmpty())
            return false;
    }
    return true;
}

void parseCard(ParsedCard &card)
{
    QByteArrayView bytes = card.text;
    // A NUL read from a file (padding, a stray byte) belongs to no name or value.
    QByteArray withoutNul;
    if (std::memchr(bytes.data(), 0, size_t(bytes.size()))) {
        withoutNul = bytes.toByteArray();
        withoutNul.removeIf([](char c) { return c == '\0'; });
        bytes = withoutNul;
    }
    CardExtras extras;
    std::optional<StoreContact> contact =
        StoreVCardReader::readFirstCard(bytes, card.fallbackCharset, [&extras](const VCardContentLine &line) {
            collectExtras(extras, line);
        });
    card.categoryLines = std::move(extras.categoryLines);
    if (!contact)
        return;
    card.person = QNPerson::initWithParsedContact(std::move(*contact));
    addCustomLines(*card.person, extras.customLines);
    card.person->setVCardUID(extras.uid);
    // A card cut short is taken for what it holds; a bare BEGIN line is no contact.
    if (!card.terminated && holdsNothing(*card.person))
        card.person.reset();
}

bool stopRequested(const QNvCard::ProgressHandler &handler, qsizetype progress)
{
    if (!handler)
        return false;
    bool stop = false;
    handler(&stop, static_cast<quint64>(progress));
    return stop;
}

// Cards are parsed side by side a batch at a time and then taken into the book in order, so groups,
// rows and progress come as from one card after another. The first batch is small: a stop asked
// at the first card should not wait for many.
constexpr qsizetype FirstBatch = 8;
constexpr qsizetype Batch = 512;

} // namespace

std::optional<ContainerTable> QNvCard::containersFromVCards(QByteArrayView text,
                                                            const ProgressHandler &progressHandler,
                                                            QByteArrayView fallbackCharset) const
{
    VCardBook book;
    CardCutter cutter(text);
    qsizetype position = 0;
    QList<ParsedCard> batch;
    for (;;) {
        batch.clear();
        const qsizetype size = position == 0 ? FirstBatch : Batch;
        while (batch.size() < size && text.size() - position >= ShortestCard) {
            const std::optional<CardCutter::Span> card = cutter.next(position);
            if (!card)
                break;
            batch.append({text.sliced(card->begin, card->end - card->begin),
                          card->terminated,
                          fallbackCharset,
                          {},
                          nullptr});
            position = card->end;
        }
        if (batch.isEmpty())
            break;
        // The calling thread works on the batch too, so a full pool cannot hold it up.
        QtConcurrent::blockingMap(&Dispatch::pool(), batch, parseCard);
        for (const ParsedCard &card : std::as_const(batch)) {
            // The groups of a card that could not be read stay.
            const QList<GroupDictPtr> groups = book.groupsOf(card.categoryLines);
            if (card.person)
                book.addPerson(card.person, groups);
            const qsizetype end = card.text.data() - text.data() + card.text.size();
            if (stopRequested(progressHandler, end))
                return std::nullopt;
        }
    }
    return ContainerTable{book.finished()};
}

std::optional<ContainerTable> QNvCard::containersFromVCards(const QString &text,
                                                            const ProgressHandler &progressHandler,
                                                            const QByteArray &fallbackCharset) const
{
    const QByteArray bytes = text.toUtf8();
    if (!progressHandler)
        return containersFromVCards(QByteArrayView(bytes), {}, fallbackCharset);
    // The progress in UTF-16 units: each byte that starts a character is one, a four-byte one two.
    qsizetype counted = 0;
    quint64 units = 0;
    return containersFromVCards(
        QByteArrayView(bytes),
        [&](bool *stop, quint64 offset) {
            for (; counted < qsizetype(offset); ++counted) {
                const auto byte = static_cast<unsigned char>(bytes.at(counted));
                units += (byte & 0xC0) != 0x80;
                units += byte >= 0xF0;
            }
            progressHandler(stop, units);
        },
        fallbackCharset);
}

bool QNvCard::isReservedCustomItemName(const QString &name)
{
    // Property names are case-insensitive; the store's parser keeps them in upper case.
    const QString upper = name.trimmed().toUpper();
    return upper == ForeignCardIdName || StoreVCardReader::readsProperty(QByteArray("X-" + upper.toUtf8()));
}

ContactTablePtr QNvCard::contactsForGroup(const GroupDictPtr &group, const ContainerDictPtr &container) const
{
    if (!group || !container || container->name != VCardContainerName)
        return nullptr;
    for (const GroupDictPtr &candidate : container->groups) {
        if (candidate->uniqueId == group->uniqueId)
            return candidate->contactTable;
    }
    return nullptr;
}

ContactTablePtr QNvCard::contactsInContainer(const ContainerDictPtr &container) const
{
    if (!container || container->name != VCardContainerName || container->groups.isEmpty())
        return nullptr;
    return container->groups.first()->contactTable;
}

void QNvCard::decodeVCardCustomItems(const QString &card, QNPerson &person) const
{
    addCustomLines(person, scanCard(card.toUtf8()).customLines);
}
