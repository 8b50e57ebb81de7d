#include "grid/GridRowBuilder.h"

#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Dispatch.h"

#include <algorithm>
#include <atomic>

namespace {

const QString AddressIdentifier = QStringLiteral("Address");
const QString NoteIdentifier = QStringLiteral("Note");
constexpr int MaximumNoteLines = 5;
// Below this many contacts to fill, handing them to the pool costs more than it saves: an edit's
// update stays on the main thread.
constexpr qsizetype ParallelFillThreshold = 512;
// Contacts per pool task at least; otherwise a few tasks per thread, so that a slow one evens out.
constexpr size_t SmallestFillChunk = 128;
constexpr int FillTasksPerThread = 4;
// Every this many contacts one is looked at to tell whether the build has many to fill: a first
// build or a reload finds none filled, the update after an edit nearly all.
constexpr qsizetype UnfilledSampleStride = 64;

std::atomic<qsizetype> parallelFillThreshold{ParallelFillThreshold};

int lineCount(const QString &text)
{
    return int(text.count(QLatin1Char('\n'))) + 1;
}


// The text of a single-valued field, the same on every row of the contact.
QString singleText(const QString &identifier, const QString &type, QNPerson &person)
{
    if (type == PersonValueType::String)
        return person.stringValueForIdentifier(identifier);
    if (identifier == PersonIdentifier::Name)
        return person.nameStringValue();
    return person.valueForIdentifier(identifier).toMap().value(PersonKey::StringValue).toString();
}

// Labels and line counts of a list's entries, the lines of the text under textKey.
void readEntries(GridFieldDisplay &display, const QVariantList &entries, const QString &textKey)
{
    display.listed = true;
    display.labels.reserve(entries.size());
    display.entryLines.reserve(entries.size());
    for (const QVariant &entry : entries) {
        const QVariantMap &map = GridField::mapOf(entry);
        display.labels.append(GridField::textOf(map, PersonKey::Label));
        display.entryLines.append(lineCount(GridField::textOf(map, textKey)));
    }
}

// A list's labels and line counts; one not read yet is read from the store contact, which makes
// no dictionary per entry.
void readList(GridFieldDisplay &display, QNPerson &person, const QString &identifier)
{
    const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(identifier);
    const auto texts = kind ? person.unreadLabeledTexts(*kind) : std::nullopt;
    if (!texts) {
        readEntries(display, person.labeledValueForIdentifier(identifier), PersonKey::StringValue);
        return;
    }
    display.listed = true;
    display.labels.reserve(texts->size());
    display.entryLines.reserve(texts->size());
    for (const QNPerson::LabeledText &entry : *texts) {
        display.labels.append(entry.label);
        display.entryLines.append(lineCount(entry.text));
    }
}

} // namespace

GridRowBuilder::GridRowBuilder(const QStringList &identifiers, const QStringList &selectedLabels,
                               const QVariantList &customItems, bool showCompanyInNameCell,
                               GridDisplayCache &cache)
    : m_selectedLabels(selectedLabels), m_noFilter(GridField::isNoFilter(selectedLabels)),
      m_customItems(customItems), m_showCompanyInNameCell(showCompanyInNameCell), m_cache(cache)
{
    for (const QString &identifier : identifiers)
        m_columns.append({identifier, GridField::valueType(identifier, customItems),
                          cache.fieldSlot(identifier), GridField::isAddressPart(identifier),
                          identifier == NoteIdentifier, identifier == PersonIdentifier::Name});
    for (const Column &column : std::as_const(m_columns))
        m_slotCount = std::max(m_slotCount, size_t(column.slot) + 1);
}

void GridRowBuilder::setParallelFillThresholdForTesting(std::optional<qsizetype> threshold)
{
    parallelFillThreshold = threshold.value_or(ParallelFillThreshold);
}

GridRows GridRowBuilder::rowsForContactTable(const ContactTable &contactTable, GridSorter *sorter) const
{
    // Only then a pass of its own over the entries: the update after an edit, which finds them
    // filled, is spared a second walk through their memory.
    Entries entries;
    if (hasManyUnfilled(contactTable, sorter)) {
        entries = cacheEntries(contactTable, sorter);
        fillEntries(entries.unfilled, sorter);
    }
    GridRows rows;
    rows.setSelectedLabels(m_selectedLabels);
    rows.rows().reserve(size_t(contactTable.size()) * 2);
    m_twoLineNames.clear();
    for (qsizetype position = 0; position < contactTable.size(); ++position) {
        const ContactRowPtr &contact = contactTable.at(position);
        if (contact->deleted || !contact->person)
            continue;
        GridDisplayCache::Contact &cached = entries.byPosition.empty()
                                                ? m_cache.contact(contact->person, position)
                                                : *entries.byPosition[size_t(position)];
        appendRows(contact, cached, rows, sorter);
    }
    return rows;
}

bool GridRowBuilder::hasManyUnfilled(const ContactTable &contactTable, const GridSorter *sorter) const
{
    const qsizetype threshold = parallelFillThreshold.load();
    if (contactTable.size() < threshold)
        return false;
    qsizetype unfilled = 0;
    for (qsizetype position = 0; position < contactTable.size(); position += UnfilledSampleStride) {
        const ContactRowPtr &contact = contactTable.at(position);
        if (!contact->deleted && contact->person &&
            !isFilled(m_cache.contact(contact->person, position), sorter))
            ++unfilled;
    }
    return unfilled * UnfilledSampleStride >= threshold;
}

GridRowBuilder::Entries GridRowBuilder::cacheEntries(const ContactTable &contactTable,
                                                     const GridSorter *sorter) const
{
    Entries entries;
    entries.byPosition.resize(size_t(contactTable.size()), nullptr);
    m_cache.reserve(contactTable.size());
    for (qsizetype position = 0; position < contactTable.size(); ++position) {
        const ContactRowPtr &contact = contactTable.at(position);
        if (contact->deleted || !contact->person)
            continue;
        GridDisplayCache::Contact &cached = m_cache.contact(contact->person, position);
        entries.byPosition[size_t(position)] = &cached;
        if (!isFilled(cached, sorter))
            entries.unfilled.push_back(&cached);
    }
    return entries;
}

bool GridRowBuilder::isFilled(const GridDisplayCache::Contact &cached, const GridSorter *sorter) const
{
    if (sorter && !sorter->holdsSortColumn(cached))
        return false;
    if (m_showCompanyInNameCell && !cached.nameAndCompany)
        return false;
    return std::all_of(m_columns.cbegin(), m_columns.cend(), [&](const Column &column) {
        const size_t slot = size_t(column.slot);
        return !m_cache.isKeptField(column.slot) || (slot < cached.fields.size() && cached.fields[slot]);
    });
}

void GridRowBuilder::fillEntries(std::vector<GridDisplayCache::Contact *> &missing,
                                 const GridSorter *sorter) const
{
    // A few are read as the rows meet them.
    if (qsizetype(missing.size()) < parallelFillThreshold.load())
        return;
    // A contact on two rows of the table has one entry, which one thread fills.
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());

    struct Chunk
    {
        size_t begin = 0;
        size_t end = 0;
        std::unique_ptr<CollationKeys> collation;
    };
    const size_t tasks = size_t(std::max(1, Dispatch::pool().maxThreadCount() * FillTasksPerThread));
    const size_t size = std::max(SmallestFillChunk, (missing.size() + tasks - 1) / tasks);
    std::vector<Chunk> chunks;
    for (size_t begin = 0; begin < missing.size(); begin += size)
        chunks.push_back({begin, std::min(missing.size(), begin + size), m_cache.collation().clone()});
    Dispatch::runHereAndOnPool(chunks.size(), [&](size_t index) {
        Chunk &chunk = chunks[index];
        for (size_t i = chunk.begin; i < chunk.end; ++i)
            fillEntry(*missing[i], sorter, chunk.collation.get());
    });
}

void GridRowBuilder::fillEntry(GridDisplayCache::Contact &cached, const GridSorter *sorter,
                               const CollationKeys *collation) const
{
    QNPerson &person = *cached.person;
    // In the order the rows' build reads them, which may fill the record's own values.
    if (sorter && collation)
        sorter->fillSortColumn(person, cached, *collation);
    if (cached.fields.size() < m_slotCount)
        cached.fields.resize(m_slotCount);
    Addresses addresses;
    for (const Column &column : m_columns) {
        // A custom item's value may come from the cloud store, which only the main thread reads.
        if (m_cache.isKeptField(column.slot) && !person.customItemForIdentifier(column.identifier))
            fieldDisplay(column, person, cached, addresses);
    }
    if (m_showCompanyInNameCell)
        showsNameAndCompany(person, cached);
}

GridFieldDisplay GridRowBuilder::readFieldDisplay(const Column &column, QNPerson &person, bool ownItems,
                                                  Addresses &addresses) const
{
    GridFieldDisplay display;
    if (column.addressPart) {
        if (!addresses.read)
            addresses.entries = person.labeledValueForIdentifier(AddressIdentifier);
        addresses.read = true;
        readEntries(display, addresses.entries, column.identifier);
        return display;
    }
    const QString type =
        ownItems ? GridField::valueType(column.identifier, person, m_customItems) : column.type;
    if (type == PersonValueType::Labeled)
        readList(display, person, column.identifier);
    else if (type == PersonValueType::String || type == PersonValueType::Dictionary)
        display.lines = lineCount(singleText(column.identifier, type, person));
    return display;
}

const GridFieldDisplay &GridRowBuilder::fieldDisplay(const Column &column, QNPerson &person,
                                                     GridDisplayCache::Contact &cached,
                                                     Addresses &addresses) const
{
    std::optional<GridFieldDisplay> &field = cached.fields[size_t(column.slot)];
    if (!field || field->readAgain || !m_cache.isKeptField(column.slot)) {
        const bool ownItems = !person.ownCustomItems().isEmpty();
        field = readFieldDisplay(column, person, ownItems, addresses);
        field->readAgain = ownItems && person.customItemForIdentifier(column.identifier).has_value();
    }
    return *field;
}

bool GridRowBuilder::showsNameAndCompany(QNPerson &person, GridDisplayCache::Contact &cached) const
{
    if (!cached.nameAndCompany)
        cached.nameAndCompany = !person.nameStringValue().isEmpty() &&
                                !person.stringValueForIdentifier(PersonIdentifier::Company).isEmpty();
    return *cached.nameAndCompany;
}

void GridRowBuilder::appendRows(const ContactRowPtr &contact, GridDisplayCache::Contact &cached,
                                GridRows &rows, GridSorter *sorter) const
{
    QNPerson &person = *contact->person;
    GridRows::Contact shown{contact->person, cached.uniqueId, cached.uniqueIdHash, nullptr};
    if (sorter)
        shown.sort = sorter->sortColumn(person, cached, m_cache.collation());
    const GridSortColumn *sortColumn = shown.sort.get();
    const int index = rows.addContact(std::move(shown));

    Addresses addresses;
    // Sized once, so that the displays taken stay where they are.
    if (cached.fields.size() < m_slotCount)
        cached.fields.resize(m_slotCount);
    m_displays.clear();
    for (const Column &column : m_columns)
        m_displays.push_back(&fieldDisplay(column, person, cached, addresses));

    std::vector<GridRow> &built = rows.rows();
    const size_t first = built.size();
    built.push_back({index, 0});
    int next = 1;
    for (qsizetype c = 0; c < m_columns.size(); ++c) {
        const GridFieldDisplay &display = *m_displays[size_t(c)];
        if (m_columns.at(c).name || !display.listed)
            continue;
        // Only a position above every one built adds a row, even when the filter left it out of
        // the earlier columns, so the rows stay in increasing position without duplicates.
        for (int position = next; position < display.labels.size(); ++position) {
            if (!m_noFilter && !m_selectedLabels.contains(display.labels.at(position)))
                continue;
            built.push_back({index, position});
            next = position + 1;
        }
    }
    // Every shown value counts, filtered or not.
    for (size_t i = first; i < built.size(); ++i) {
        int lines = 1;
        for (qsizetype c = 0; c < m_columns.size(); ++c) {
            lines = std::max(lines, m_displays[size_t(c)]->linesAt(built[i].labelIndex));
            // Notes show at most five lines; a later column may still ask for more.
            if (m_columns.at(c).note && lines > MaximumNoteLines)
                lines = MaximumNoteLines;
        }
        built[i].numLines = lines;
    }
    if (sorter)
        sorter->addRows(built, first, *sortColumn);
    m_twoLineNames.push_back(m_showCompanyInNameCell && showsNameAndCompany(person, cached));
}

void GridRowBuilder::addNameCellLines(GridRows &rows) const
{
    if (!m_showCompanyInNameCell)
        return;
    for (GridRow &row : rows.rows()) {
        if (!row.notFirstRow && row.numLines < 2 && m_twoLineNames[size_t(row.contact)])
            row.numLines = 2;
    }
}
