#include "model/QNvCard.h"

#include "model/QNPersonKeys.h"
#include "platform/Dispatch.h"
#include "platform/StoreVCardWriter.h"
#include "platform/VCardLineWriter.h"

#include <QBuffer>
#include <QHash>
#include <QtConcurrent/QtConcurrentMap>

namespace {

using Escape = VCardLineWriter::Escape;

const QString Renmei = QStringLiteral("Renmei");
const QString HagakiLayout = QStringLiteral("HagakiLayout");

// A property name cannot hold these; they would end the name or the line.
QString withoutSeparators(QString text)
{
    static const QString separators = QStringLiteral(";:,\"\r\n");
    text.removeIf([](QChar c) { return separators.contains(c); });
    return text.trimmed();
}

// A label is one TYPE value, quoted when it holds what would end the value (the reader's labels
// made of other parameters hold ";" and "="); a double quote or line break cannot be written.
QString labelParameter(QString label)
{
    label.removeIf(
        [](QChar c) { return c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'); });
    label = label.trimmed();
    const bool quoted = label.contains(QLatin1Char(';')) || label.contains(QLatin1Char(':')) ||
                        label.contains(QLatin1Char(','));
    return quoted ? QLatin1Char('"') + label + QLatin1Char('"') : label;
}

bool isJpeg(const QByteArray &data)
{
    return data.startsWith("\xFF\xD8\xFF");
}

bool isPng(const QByteArray &data)
{
    return data.startsWith("\x89PNG\r\n\x1A\n");
}

// The image data in base64, folded at 75 characters as every line is.
void addPhotoLine(VCardLineWriter &lines, const char *type, const QByteArray &data)
{
    const QByteArray base64 = data.toBase64();
    lines.begin("PHOTO;ENCODING=b;TYPE=").add(type).add(':').add(QLatin1StringView(base64)).end();
}

// The program's own lines of the cards of one job, with the options and the address book's
// custom-item definitions taken once. Lines go before the card's END line in the order they are
// added; the store's serialisation writes none of them, so none is written twice.
class CardLines
{
public:
    CardLines(const QNvCard &writer, const QStringList &options)
        : m_writer(writer), m_note(options.contains(QNvCardOption::Note)),
          m_photo(options.contains(QNvCardOption::Photo)), m_custom(options.contains(QNvCardOption::Custom)),
          m_renmei(options.contains(QNvCardOption::Renmei)),
          m_hagakiLayout(options.contains(QNvCardOption::HagakiLayout))
    {
        for (const QVariant &item : QNPerson::customItems().value_or(QVariantList())) {
            const QVariantMap definition = item.toMap();
            const QString name = definition.value(PersonKey::ItemName).toString();
            const QString type = definition.value(PersonKey::ItemType).toString();
            const QString written = withoutSeparators(name);
            if (!written.isEmpty() && (type == PersonValueType::Labeled || type == PersonValueType::String))
                m_customItems.append({name, written, type == PersonValueType::Labeled});
        }
    }

    // The card of vCardFromPerson.
    QByteArray personCard(QNPerson &person, const QStringList &groupNames) const
    {
        return card(person, [&](VCardLineWriter &lines) {
            if (m_photo)
                addPhoto(lines, person);
            if (m_custom)
                addCustomItems(lines, person, false);
            addCategories(lines, groupNames);
        });
    }

    // The card of vCardFromContact.
    QByteArray rowCard(QNPerson &person) const
    {
        return card(person, [&](VCardLineWriter &lines) {
            if (m_renmei)
                addRenmei(lines, person);
            if (m_hagakiLayout)
                addHagakiLayouts(lines, person);
            if (m_photo)
                addPhoto(lines, person);
            addCustomItems(lines, person, true);
        });
    }

private:
    struct CustomItem
    {
        QString name;
        // The name as a property name can hold it.
        QString written;
        bool labeled = false;
    };

    // The store's serialisation, NOTE, the lines of the kind of card, UID.
    template <typename AddLines> QByteArray card(QNPerson &person, AddLines addLines) const
    {
        QByteArray card;
        VCardLineWriter lines(card);
        const StoreContact contact = person.vCardContact();
        StoreVCardWriter::beginCard(lines, contact);
        if (m_note)
            addNote(lines, contact);
        addLines(lines);
        addUid(lines, person);
        StoreVCardWriter::endCard(lines);
        return card;
    }

    static void addNote(VCardLineWriter &lines, const StoreContact &contact)
    {
        if (!contact.note.isEmpty())
            lines.begin("NOTE:").add(contact.note, Escape::Text).end();
    }

    static void addRenmei(VCardLineWriter &lines, QNPerson &person)
    {
        const QString renmei = person.stringValueForIdentifier(Renmei);
        if (!renmei.isEmpty())
            lines.begin("X-RENMEI:").add(renmei, Escape::Text).end();
    }

    static void addHagakiLayouts(VCardLineWriter &lines, QNPerson &person)
    {
        const QVariantList layouts = person.labeledValueForIdentifier(HagakiLayout);
        if (layouts.isEmpty())
            return;
        lines.begin("X-HAGAKILAYOUTS:");
        for (const QVariant &entry : layouts)
            lines.add(entry.toMap().value(PersonKey::StringValue).toString(), Escape::Text).add("\\n");
        lines.end();
    }

    // Photo bytes are written as they are, JPEG or PNG, so that a round trip does not lose
    // quality; anything else goes through an image to JPEG.
    void addPhoto(VCardLineWriter &lines, QNPerson &person) const
    {
        const QByteArray data = person.photoData();
        if (data.isEmpty())
            return;
        if (isJpeg(data))
            addPhotoLine(lines, "JPEG", data);
        else if (isPng(data))
            addPhotoLine(lines, "PNG", data);
        else if (const QByteArray jpeg = m_writer.jpegDataFromImage(QImage::fromData(data)); !jpeg.isEmpty())
            addPhotoLine(lines, "JPEG", jpeg);
    }

    // A line per entry of each labelled item and per string item of the definitions; with
    // writeEmpty also for empty values. Values of the program's own X- lines escape only
    // backslashes and line breaks, which the reader's unescaping undoes.
    void addCustomItems(VCardLineWriter &lines, QNPerson &person, bool writeEmpty) const
    {
        for (const CustomItem &item : m_customItems) {
            if (!item.labeled) {
                const QString text = person.stringValueForIdentifier(item.name);
                if (writeEmpty || !text.isEmpty())
                    lines.begin("X-").add(item.written).add(':').add(text, Escape::LineBreaks).end();
                continue;
            }
            for (const QVariant &value : person.labeledValueForIdentifier(item.name)) {
                const QVariantMap entry = value.toMap();
                const QString text = entry.value(PersonKey::StringValue).toString();
                if (!writeEmpty && text.isEmpty())
                    continue;
                lines.begin("X-").add(item.written).add(";type=");
                lines.add(labelParameter(entry.value(PersonKey::Label).toString()));
                lines.add(':').add(text, Escape::LineBreaks).end();
            }
        }
    }

    static void addCategories(VCardLineWriter &lines, const QStringList &groupNames)
    {
        // One name that is empty writes nothing, as an empty list does.
        if (groupNames.isEmpty() || (groupNames.size() == 1 && groupNames.first().isEmpty()))
            return;
        lines.begin("CATEGORIES:");
        for (qsizetype i = 0; i < groupNames.size(); ++i) {
            if (i > 0)
                lines.add(',');
            lines.add(groupNames.at(i), Escape::Text);
        }
        lines.end();
    }

    static void addUid(VCardLineWriter &lines, const QNPerson &person)
    {
        QString uid = person.vCardUID();
        uid.removeIf([](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); });
        if (!uid.isEmpty())
            lines.begin("UID:").add(uid).end();
    }

    const QNvCard &m_writer;
    const bool m_note;
    const bool m_photo;
    const bool m_custom;
    const bool m_renmei;
    const bool m_hagakiLayout;
    QList<CustomItem> m_customItems;
};

// Group names by contact, in group order, once per row; the top group, deleted groups and
// deleted rows left out. Built once, so each contact is a lookup.
QHash<QString, QStringList> groupNamesByContact(const ContainerDictPtr &container)
{
    QHash<QString, QStringList> names;
    if (!container)
        return names;
    for (const GroupDictPtr &group : container->groups) {
        if (group->top || group->deleted || !group->contactTable)
            continue;
        for (const ContactRowPtr &row : *group->contactTable) {
            if (!row->deleted)
                names[row->uniqueId].append(group->name);
        }
    }
    return names;
}

// One contact of a batch written side by side. A record is used by one thread at a time, so a
// contact that the batch holds twice is written once and repeated.
struct WrittenCard
{
    ContactRowPtr row;
    bool writes = false;
    qsizetype sameAs = -1;
    QByteArray data;
};

QList<WrittenCard> cardsToWrite(const ContactTable &rows, qsizetype start, qsizetype count)
{
    QList<WrittenCard> batch;
    QHash<const QNPerson *, qsizetype> first;
    for (qsizetype i = start; i < std::min(rows.size(), start + count); ++i) {
        WrittenCard card{rows.at(i), false, -1, {}};
        if (card.row && card.row->person) {
            const auto known = first.constFind(card.row->person.get());
            if (known == first.constEnd())
                first.insert(card.row->person.get(), batch.size());
            card.writes = known == first.constEnd();
            card.sameAs = card.writes ? -1 : *known;
        }
        batch.append(card);
    }
    return batch;
}

// Cards are written a batch at a time side by side, then joined and reported in order. The first
// batch is small: a stop asked at the first contact should not wait for many.
constexpr qsizetype FirstBatch = 8;
constexpr qsizetype Batch = 512;

} // namespace

QString QNvCard::vCardFromPerson(QNPerson &person, const QStringList &options,
                                 const QStringList &groupNames) const
{
    return QString::fromUtf8(CardLines(*this, options).personCard(person, groupNames));
}

QString QNvCard::vCardFromContact(const ContactRow &row, const QStringList &options) const
{
    return row.person ? QString::fromUtf8(CardLines(*this, options).rowCard(*row.person)) : QString();
}

std::optional<QByteArray> QNvCard::vCardDataFromContacts(const ContactTable &rows, const QStringList &options,
                                                         const ContainerDictPtr &container,
                                                         const ProgressHandler &progressHandler) const
{
    const QHash<QString, QStringList> groupNames = groupNamesByContact(container);
    const CardLines writer(*this, options);
    QByteArray cards;
    QList<WrittenCard> batch;
    for (qsizetype start = 0; start < rows.size(); start += batch.size()) {
        batch = cardsToWrite(rows, start, start == 0 ? FirstBatch : Batch);
        QtConcurrent::blockingMap(&Dispatch::pool(), batch, [&](WrittenCard &card) {
            if (card.writes)
                card.data = writer.personCard(*card.row->person, groupNames.value(card.row->uniqueId));
        });
        for (qsizetype i = 0; i < batch.size(); ++i) {
            const WrittenCard &card = batch.at(i);
            cards += card.writes ? card.data : card.sameAs >= 0 ? batch.at(card.sameAs).data : QByteArray();
            if (progressHandler) {
                bool stop = false;
                progressHandler(&stop, static_cast<quint64>(start + i));
                if (stop)
                    return std::nullopt;
            }
        }
    }
    return cards;
}

std::optional<QString> QNvCard::vCardsFromContacts(const ContactTable &rows, const QStringList &options,
                                                   const ContainerDictPtr &container,
                                                   const ProgressHandler &progressHandler) const
{
    const std::optional<QByteArray> cards = vCardDataFromContacts(rows, options, container, progressHandler);
    return cards ? std::optional<QString>(QString::fromUtf8(*cards)) : std::nullopt;
}

QString QNvCard::vCardsFromContacts(const ContactTable &rows, const QStringList &options) const
{
    const CardLines writer(*this, options);
    QByteArray cards;
    for (const ContactRowPtr &row : rows) {
        if (row && row->person)
            cards += writer.rowCard(*row->person);
    }
    return QString::fromUtf8(cards);
}

QString QNvCard::encodeVCardPhoto(const QImage &image) const
{
    const QByteArray jpeg = jpegDataFromImage(image);
    QByteArray line;
    if (!jpeg.isEmpty()) {
        VCardLineWriter lines(line);
        addPhotoLine(lines, "JPEG", jpeg);
    }
    return QString::fromLatin1(line);
}

QByteArray QNvCard::jpegDataFromImage(const QImage &image) const
{
    if (image.isNull())
        return QByteArray();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "JPEG", 90) ? jpeg : QByteArray();
}
