#include "find/FindPanelSearch.h"

#include "find/FindScope.h"
#include "model/LabeledEntry.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/StoreContact.h"

namespace {

const QString All = QStringLiteral("All");
const QString AddressIdentifier = QStringLiteral("Address");
const QString InstantMessageIdentifier = QStringLiteral("Instant Message");
const QStringList NameParts{PersonKey::FirstName, PersonKey::LastName, PersonKey::MiddleName};
const QStringList PhoneticParts{PersonIdentifier::PhoneticFirstName, PersonIdentifier::PhoneticLastName,
                                PersonIdentifier::PhoneticMiddleName};
const QStringList AddressParts{PersonKey::ZIP, PersonKey::State, PersonKey::City, PersonKey::Street,
                               PersonKey::Country};

// A text of a value dictionary, read without copying the variant that holds it.
QString textOf(const QVariantMap &map, const QString &key)
{
    const auto it = map.constFind(key);
    return it == map.constEnd() ? QString() : it->toString();
}

bool isAll(const QStringList &filter)
{
    return !filter.isEmpty() && filter.first() == All;
}

} // namespace

// The texts of one contact, each a row that names where it came from.
class FindPanelSearch::Collector
{
public:
    Collector(const ContactRowPtr &contact, std::vector<SearchResultRow> &texts)
        : m_contact(contact), m_person(*contact->person), m_texts(texts)
    {
    }

    QNPerson &person() { return m_person; }

    void add(const QString &item, const QString &subItem, const QString &value)
    {
        if (!value.isEmpty())
            m_texts.push_back(row(item, subItem, {}, value, std::nullopt, std::nullopt));
    }
    void addEntry(const QString &item, const QString &subItem, const QVariantMap &entry, int position,
                  const QString &value)
    {
        if (value.isEmpty())
            return;
        const std::optional<qint64> labelIndex = LabeledEntry(entry).labelIndex();
        m_texts.push_back(row(item, subItem, textOf(entry, PersonKey::Label), value, position, labelIndex));
    }

    // An entry of a list the record reads afresh, numbered by its place as the read numbers it.
    void addListed(const QString &item, const QString &label, const QString &value, int position)
    {
        if (!value.isEmpty())
            m_texts.push_back(row(item, {}, label, value, position, position));
    }

private:
    SearchResultRow row(const QString &item, const QString &subItem, const QString &label,
                        const QString &value, std::optional<int> position,
                        std::optional<qint64> labelIndex) const
    {
        return {item, subItem, label, position, labelIndex, value, {}, m_contact};
    }

    const ContactRowPtr &m_contact;
    QNPerson &m_person;
    std::vector<SearchResultRow> &m_texts;
};

QStringList FindPanelSearch::searchedItems(const QStringList &items)
{
    return items.isEmpty() || isAll(items) ? QNPerson::allIdentifiers() : items;
}

FindPanelSearch::Snapshot FindPanelSearch::snapshot(const FindPanelQuery &query, const ContactTable &contacts) const
{
    Snapshot snapshot{query.searchString, query.compareOptions, {}};
    // An empty search string finds nothing: no texts to take.
    if (query.searchString.isEmpty())
        return snapshot;
    const Filters filters{query, isAll(query.subItems) || query.subItems.isEmpty(),
                          isAll(query.labels) || query.labels.isEmpty()};
    const QStringList items = searchedItems(query.items);
    for (const ContactRowPtr &contact : contacts)
        collect(filters, items, contact, snapshot.texts);
    return snapshot;
}

FindPanelSearch::Outcome FindPanelSearch::search(const Snapshot &snapshot, Progress *progress)
{
    Outcome outcome;
    const MatchScan scan(snapshot.searchString, snapshot.compareOptions);
    if (!scan.isValid())
        return outcome;
    size_t searched = 0;
    for (const SearchResultRow &text : snapshot.texts) {
        if (progress) {
            if (progress->stop.stop_requested())
                break;
            // This thread alone writes it.
            progress->searched.store(++searched, std::memory_order_relaxed);
        }
        std::optional<QList<MatchScan::TextRange>> ranges = scan.completeRanges(text.value);
        if (!ranges) {
            ++outcome.givenUp;
            continue;
        }
        if (ranges->isEmpty())
            continue;
        auto row = std::make_shared<SearchResultRow>(text);
        row->ranges = std::move(*ranges);
        outcome.rows.append(std::move(row));
    }
    return outcome;
}

QList<SearchResultRowPtr> FindPanelSearch::searchContact(const FindPanelQuery &query,
                                                         const ContactRowPtr &contact) const
{
    return search(snapshot(query, {contact})).rows;
}

void FindPanelSearch::collect(const Filters &filters, const QStringList &items, const ContactRowPtr &contact,
                              std::vector<SearchResultRow> &texts) const
{
    if (!FindScope::holds(contact))
        return;
    Collector collector(contact, texts);
    for (const QString &item : items)
        collectItem(collector, filters, item);
}

void FindPanelSearch::collectItem(Collector &collector, const Filters &filters, const QString &item) const
{
    QNPerson &person = collector.person();
    if (item == PersonIdentifier::Name || item == PersonIdentifier::PhoneticName) {
        // Name parts carry no label: a label filter leaves them out.
        if (!filters.allLabels)
            return;
        const bool phonetic = item == PersonIdentifier::PhoneticName;
        const QVariantMap phoneticName = phonetic ? person.phoneticNameValue().value_or(QVariantMap()) : QVariantMap();
        for (qsizetype i = 0; i < NameParts.size(); ++i) {
            const QString part = phonetic ? PhoneticParts.at(i) : NameParts.at(i);
            if (filters.subItemPasses(part))
                collector.add(item, part,
                              phonetic ? textOf(phoneticName, NameParts.at(i)) : person.namePart(NameParts.at(i)));
        }
        return;
    }
    const bool addressPart = FindFields::isAddressPart(item);
    if (item == AddressIdentifier || addressPart || item == InstantMessageIdentifier) {
        const QString list = item == InstantMessageIdentifier ? item : AddressIdentifier;
        const QVariantList entries = person.labeledValueForIdentifier(list);
        for (qsizetype position = 0; position < entries.size(); ++position) {
            const QVariantMap entry = entries.at(position).toMap();
            if (!filters.labelPasses(textOf(entry, PersonKey::Label)))
                continue;
            if (item == InstantMessageIdentifier) {
                const QString service = textOf(entry, StoreValueKey::Service);
                if (filters.subItemPasses(service))
                    collector.addEntry(item, service, entry, int(position), textOf(entry, PersonKey::Value));
                continue;
            }
            // An address part item lists its part whatever the sub-item filter says.
            for (const QString &part : addressPart ? QStringList{item} : AddressParts) {
                if (addressPart || filters.subItemPasses(part))
                    collector.addEntry(AddressIdentifier, part, entry, int(position), textOf(entry, part));
            }
        }
        return;
    }
    const QString type = m_fields.valueType(person, item);
    if (type == PersonValueType::Labeled) {
        if (!filters.allSubItems)
            return;
        // Without making a dictionary per entry where the record can give the texts alone.
        const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(item);
        if (const auto texts = kind ? person.unreadLabeledTexts(*kind) : std::nullopt) {
            for (qsizetype position = 0; position < texts->size(); ++position) {
                if (filters.labelPasses(texts->at(position).label))
                    collector.addListed(item, texts->at(position).label, texts->at(position).text, int(position));
            }
            return;
        }
        const QVariantList entries = person.labeledValueForIdentifier(item);
        for (qsizetype position = 0; position < entries.size(); ++position) {
            const QVariantMap entry = entries.at(position).toMap();
            if (filters.labelPasses(textOf(entry, PersonKey::Label)))
                collector.addEntry(item, {}, entry, int(position), textOf(entry, PersonKey::StringValue));
        }
        return;
    }
    if (type != PersonValueType::Dictionary && type != PersonValueType::String)
        return;
    if (filters.allSubItems && filters.allLabels)
        collector.add(item, {}, person.stringValueForIdentifier(item));
}
