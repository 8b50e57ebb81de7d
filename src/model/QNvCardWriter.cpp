#include "model/QNvCard.h"

#include "model/QNPersonKeys.h"
#include "platform/Dispatch.h"
#include "platform/StoreVCardWriter.h"

#include <QBuffer>
#include <QHash>
#include <QtConcurrent/QtConcurrentMap>

namespace {

const QString EndLine = QStringLiteral("\r\nEND:VCARD");
const QString Renmei = QStringLiteral("Renmei");
const QString HagakiLayout = QStringLiteral("HagakiLayout");
constexpr qsizetype FoldedLineLength = 75;

// Lines go in just before the card's END line, in the order they are added.
class CardInsertion
{
public:
    explicit CardInsertion(QString card) : m_card(std::move(card))
    {
        const qsizetype end = m_card.indexOf(EndLine);
        m_position = end > 0 ? end + 2 : -1;
    }

    bool has(const QString &propertyStart) const
    {
        return m_card.contains(QLatin1String("\r\n") + propertyStart);
    }
    void add(const QString &lines) { m_lines += lines; }

    QString text()
    {
        if (m_position > 0 && !m_lines.isEmpty())
            m_card.insert(m_position, m_lines);
        return m_card;
    }

private:
    QString m_card;
    QString m_lines;
    qsizetype m_position = -1;
};

QString foldedLine(const QString &line)
{
    return QString::fromUtf8(StoreVCardWriter::foldedLine(line.toUtf8()));
}

// Values of the program's own X- lines: only backslashes and line breaks are escaped, which the
// reader's unescaping undoes.
QString escapeCustomValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\')) {
            out.append(QLatin1String("\\\\"));
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < value.size() && value.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("\\n"));
        } else {
            out.append(c);
        }
    }
    return out;
}

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

QString customLine(const QString &name, const QString &label, const QString &value)
{
    return foldedLine(QLatin1String("X-") + name + QLatin1String(";type=") + labelParameter(label) +
                      QLatin1Char(':') + escapeCustomValue(value));
}

QString customLine(const QString &name, const QString &value)
{
    return foldedLine(QLatin1String("X-") + name + QLatin1Char(':') + escapeCustomValue(value));
}

void addNote(CardInsertion &card, QNPerson &person)
{
    const QString note = person.stringValueForIdentifier(QStringLiteral("Note"));
    if (!note.isEmpty() && !card.has(QStringLiteral("NOTE:")))
        card.add(foldedLine(QLatin1String("NOTE:") + StoreVCardWriter::escapeText(note)));
}

void addRenmei(CardInsertion &card, QNPerson &person)
{
    const QString renmei = person.stringValueForIdentifier(Renmei);
    if (!renmei.isEmpty() && !card.has(QStringLiteral("X-RENMEI:")))
        card.add(foldedLine(QLatin1String("X-RENMEI:") + StoreVCardWriter::escapeText(renmei)));
}

void addHagakiLayouts(CardInsertion &card, QNPerson &person)
{
    QString layouts;
    for (const QVariant &entry : person.labeledValueForIdentifier(HagakiLayout))
        layouts += StoreVCardWriter::escapeText(entry.toMap().value(PersonKey::StringValue).toString()) +
                   QLatin1String("\\n");
    if (!layouts.isEmpty() && !card.has(QStringLiteral("X-HAGAKILAYOUTS:")))
        card.add(foldedLine(QLatin1String("X-HAGAKILAYOUTS:") + layouts));
}

bool isJpeg(const QByteArray &data)
{
    return data.startsWith("\xFF\xD8\xFF");
}

bool isPng(const QByteArray &data)
{
    return data.startsWith("\x89PNG\r\n\x1A\n");
}

// The first line filled to 75 characters, then continuation lines of a blank and 74 characters.
QString foldedPhoto(const QString &type, const QByteArray &data)
{
    const QString prefix = QLatin1String("PHOTO;ENCODING=b;TYPE=") + type + QLatin1Char(':');
    const QString base64 = QString::fromLatin1(data.toBase64());
    QString line;
    line.reserve(prefix.size() + base64.size() + base64.size() / 37 + 4);
    line += prefix;
    qsizetype position = std::min(base64.size(), FoldedLineLength - prefix.size());
    line += QStringView(base64).first(position);
    line += QLatin1String("\r\n");
    while (position < base64.size()) {
        const qsizetype length = std::min(base64.size() - position, FoldedLineLength - 1);
        line += QLatin1Char(' ');
        line += QStringView(base64).sliced(position, length);
        line += QLatin1String("\r\n");
        position += length;
    }
    return line;
}

// Photo bytes are written as they are, JPEG or PNG, so that a round trip does not lose quality;
// anything else goes through an image to JPEG.
QString photoLine(const QNvCard &writer, QNPerson &person)
{
    const QByteArray data = person.photoData();
    if (data.isEmpty())
        return QString();
    if (isJpeg(data))
        return foldedPhoto(QStringLiteral("JPEG"), data);
    if (isPng(data))
        return foldedPhoto(QStringLiteral("PNG"), data);
    return writer.encodeVCardPhoto(QImage::fromData(data));
}

void addPhoto(CardInsertion &card, const QNvCard &writer, QNPerson &person)
{
    if (!card.has(QStringLiteral("PHOTO;")))
        card.add(photoLine(writer, person));
}

// A line per entry of each labelled item and per string item of the address book's definitions;
// with writeEmpty also for empty values.
void addCustomItems(CardInsertion &card, QNPerson &person, bool writeEmpty)
{
    for (const QVariant &item : QNPerson::customItems().value_or(QVariantList())) {
        const QVariantMap definition = item.toMap();
        const QString name = definition.value(PersonKey::ItemName).toString();
        const QString written = withoutSeparators(name);
        const QString type = definition.value(PersonKey::ItemType).toString();
        if (written.isEmpty())
            continue;
        if (type == PersonValueType::Labeled) {
            for (const QVariant &value : person.labeledValueForIdentifier(name)) {
                const QVariantMap entry = value.toMap();
                const QString text = entry.value(PersonKey::StringValue).toString();
                if (writeEmpty || !text.isEmpty())
                    card.add(customLine(written, entry.value(PersonKey::Label).toString(), text));
            }
        } else if (type == PersonValueType::String) {
            const QString text = person.stringValueForIdentifier(name);
            if (writeEmpty || !text.isEmpty())
                card.add(customLine(written, text));
        }
    }
}

void addUid(CardInsertion &card, const QNPerson &person)
{
    QString uid = person.vCardUID();
    uid.removeIf([](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); });
    if (!uid.isEmpty() && !card.has(QStringLiteral("UID:")))
        card.add(foldedLine(QLatin1String("UID:") + uid));
}

void addCategories(CardInsertion &card, const QStringList &groupNames)
{
    QStringList escaped;
    for (const QString &name : groupNames)
        escaped.append(StoreVCardWriter::escapeText(name));
    const QString categories = escaped.join(QLatin1Char(','));
    if (!categories.isEmpty() && !card.has(QStringLiteral("CATEGORIES:")))
        card.add(foldedLine(QLatin1String("CATEGORIES:") + categories));
}

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
    QString text;
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
    const QByteArray data = person.vCardData();
    if (data.isEmpty())
        return QString();
    CardInsertion card(QString::fromUtf8(data));
    if (options.contains(QNvCardOption::Note))
        addNote(card, person);
    if (options.contains(QNvCardOption::Photo))
        addPhoto(card, *this, person);
    if (options.contains(QNvCardOption::Custom))
        addCustomItems(card, person, false);
    addCategories(card, groupNames);
    addUid(card, person);
    return card.text();
}

QString QNvCard::vCardFromContact(const ContactRow &row, const QStringList &options) const
{
    if (!row.person)
        return QString();
    QNPerson &person = *row.person;
    const QByteArray data = person.vCardData();
    if (data.isEmpty())
        return QString();
    CardInsertion card(QString::fromUtf8(data));
    if (options.contains(QNvCardOption::Note))
        addNote(card, person);
    if (options.contains(QNvCardOption::Renmei))
        addRenmei(card, person);
    if (options.contains(QNvCardOption::HagakiLayout))
        addHagakiLayouts(card, person);
    if (options.contains(QNvCardOption::Photo))
        addPhoto(card, *this, person);
    addCustomItems(card, person, true);
    addUid(card, person);
    return card.text();
}

std::optional<QString> QNvCard::vCardsFromContacts(const ContactTable &rows, const QStringList &options,
                                                   const ContainerDictPtr &container,
                                                   const ProgressHandler &progressHandler) const
{
    const QHash<QString, QStringList> groupNames = groupNamesByContact(container);
    QString cards;
    QList<WrittenCard> batch;
    for (qsizetype start = 0; start < rows.size(); start += batch.size()) {
        batch = cardsToWrite(rows, start, start == 0 ? FirstBatch : Batch);
        QtConcurrent::blockingMap(&Dispatch::pool(), batch, [&](WrittenCard &card) {
            if (card.writes)
                card.text = vCardFromPerson(*card.row->person, options, groupNames.value(card.row->uniqueId));
        });
        for (qsizetype i = 0; i < batch.size(); ++i) {
            const WrittenCard &card = batch.at(i);
            cards += card.writes ? card.text : card.sameAs >= 0 ? batch.at(card.sameAs).text : QString();
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

QString QNvCard::vCardsFromContacts(const ContactTable &rows, const QStringList &options) const
{
    QString cards;
    for (const ContactRowPtr &row : rows) {
        if (row)
            cards += vCardFromContact(*row, options);
    }
    return cards;
}

QString QNvCard::encodeVCardPhoto(const QImage &image) const
{
    const QByteArray jpeg = jpegDataFromImage(image);
    return jpeg.isEmpty() ? QString() : foldedPhoto(QStringLiteral("JPEG"), jpeg);
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
