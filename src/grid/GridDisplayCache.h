#pragma once

#include "grid/CollationKeys.h"
#include "model/QNPerson.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// What the grid shows of one contact in one column: a list (its entries' labels, for the label
// filter, and line counts), or one value on every row with its line count.
struct GridFieldDisplay
{
    bool listed = false;
    int lines = 1;
    QStringList labels;
    QList<int> entryLines;
    // Read again at every build: the contact has a custom item of the field's name, whose value
    // may come from the cloud store.
    bool readAgain = false;

    // The lines the column needs on the row at that value position.
    int linesAt(int position) const
    {
        if (!listed)
            return lines;
        return position < entryLines.size() ? entryLines.at(position) : 1;
    }
};

// What one contact gives its rows under one sort key: one value per position of a list (with its
// label, for the filter), or one value for every row; with each value's sort key.
struct GridSortColumn
{
    struct Key
    {
        // The first 16 bytes of the collation key as two big-endian numbers (zero-padded), or
        // the day of a date: most comparisons end here, without touching the whole key.
        quint64 high = 0;
        quint64 low = 0;
        // The whole collation key, zero-terminated; empty for a date.
        QByteArray bytes;
        bool empty = true;
    };

    bool listed = false;
    QVariantList values;
    QStringList labels;
    std::vector<Key> keys;
    // As GridFieldDisplay::readAgain.
    bool readAgain = false;

    // The index of the value a row at that position sorts by; -1 for none (beyond the list, or a
    // label the filter leaves out).
    qsizetype indexAt(int position, const QStringList &selectedLabels, bool noFilter) const;
};

// Per contact, what the grid shows and sorts by, kept from one update of the grid to the next and
// made again when the record has changed since (its revision moved). Fields that are custom items
// (of the window, or of the contact under a built-in field's name) are read afresh every time:
// their types and values may come from outside the record.
class GridDisplayCache
{
public:
    struct Contact
    {
        QNPersonPtr person;
        quint64 revision = 0;
        // The record's uniqueId with its hash, which tells most rows of other contacts apart
        // without comparing texts.
        QString uniqueId;
        size_t uniqueIdHash = 0;
        std::vector<std::optional<GridFieldDisplay>> fields;
        std::vector<std::shared_ptr<const GridSortColumn>> sorts;
        // Shows both a name and a company (two lines when the company goes under the name).
        std::optional<bool> nameAndCompany;
        quint32 generation = 0;
    };

    // Starts a build of the rows: a new language drops the kept sort keys.
    void beginUpdate();
    // Drops the contacts that this build did not show (and lets their records go).
    void endUpdate();

    // Fields and sort keys are asked for by number, given once per build.
    int fieldSlot(const QString &identifier);
    int sortSlot(const QString &identifier, const QString &valueKey);
    // Whether values kept under the slot stay valid while the record does not change (built-in
    // fields).
    bool isKeptField(int slot) const { return m_fieldKept[size_t(slot)]; }
    bool isKeptSort(int slot) const { return m_sortKept[size_t(slot)]; }

    // Room for this many contacts, so that a first build does not rehash as it meets them.
    void reserve(qsizetype count)
    {
        // Asked at every build: the same count must not rehash again.
        if (size_t(count) > m_contacts.size())
            m_contacts.reserve(size_t(count));
    }
    // The contact's entry, emptied when the record changed since it was filled. position: the
    // contact's place in the table, where the last build most likely met it too.
    Contact &contact(const QNPersonPtr &person, qsizetype position = -1);
    // Sort keys of texts in the user's language, case-insensitive; for the calling (main) thread.
    const CollationKeys &collation() const { return *m_collation; }

    qsizetype size() const { return qsizetype(m_contacts.size()); }
    void clear()
    {
        m_contacts.clear();
        m_byPosition.clear();
        m_nextByPosition.clear();
    }

private:
    std::unordered_map<const QNPerson *, Contact> m_contacts;
    // The entries by table position, as the last build and this one met them (entries stay where
    // they are in the map until erased).
    std::vector<Contact *> m_byPosition;
    std::vector<Contact *> m_nextByPosition;
    QHash<QString, int> m_fieldSlots;
    std::vector<bool> m_fieldKept;
    QHash<QString, int> m_sortSlots;
    std::vector<bool> m_sortKept;
    std::unique_ptr<CollationKeys> m_collation;
    QString m_locale;
    quint32 m_generation = 0;
    qsizetype m_used = 0;
};
