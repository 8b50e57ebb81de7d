#pragma once

#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The tables every record shares: the label menus of each identifier with their display texts and
// the user's custom labels, the address book's custom item definitions and the address formats.
//
// Loader and import threads read them while the main thread changes them, so one lock guards them
// all and every accessor hands out a copy. The program uses the process default (shared()); a
// test puts it back into its start state with reset().
class LabelTables
{
public:
    // Identifier (or "Show as Person", "Name Ordering") to its labels, in menu order.
    using LabelTable = QMap<QString, QStringList>;
    // One country's row: the resource's keys plus "Order" and, for non-English users,
    // "LocalizedCountry".
    using AddressFormatEntry = QVariantMap;
    using AddressFormatTable = QList<AddressFormatEntry>;
    // Country code to its entry; the same content as the table's row of that code.
    using AddressFormatDict = QMap<QString, AddressFormatEntry>;

    // The start state: the built-in labels, no custom labels or items, the bundled address formats.
    LabelTables();
    LabelTables(const LabelTables &) = delete;
    LabelTables &operator=(const LabelTables &) = delete;

    static LabelTables &shared();
    void reset();
    // Back to the built-in labels, keeping the address formats and custom items: the labels that
    // discarded contacts offered go with them.
    void forgetOfferedLabels();

    std::optional<QStringList> labels(const QString &identifier) const;
    std::optional<QStringList> customLabels(const QString &identifier) const;
    std::optional<QStringList> localizedLabels(const QString &identifier) const;
    // The label table with each identifier's custom labels appended where missing. The appended
    // labels stay in the table, so labels() shows them afterwards.
    LabelTable labelTable();
    LabelTable customLabelTable() const;

    // The placeholder words "No label" and "No service" are no labels: adding, offering or
    // renaming to one changes nothing (setLabel answers false).
    void addCustomLabel(const QString &label, const QString &identifier);
    // With an empty `from`, adds `to` unless the identifier already offers it (false then); else
    // renames `from` to `to` in place, or appends `to` when `from` is unknown (true).
    bool setLabel(const QString &from, const QString &to, const QString &identifier);
    // setLabel with an empty `from` for each label, under one lock: for the labels of many
    // contacts at once.
    void offerLabels(const LabelTable &labels);
    // Takes a label out of the identifier's labels, display texts and custom labels; false when
    // the identifier has no such label.
    bool removeLabel(const QString &label, const QString &identifier);

    // The address book's custom item definitions; nullopt until first set.
    void setCustomItems(const QVariantList &items);
    std::optional<QVariantList> customItems() const;

    AddressFormatTable addressFormatTable() const;
    AddressFormatDict addressFormatDict() const;
    // Lays the given rows over the table: a known country code replaces its row in place, a new
    // code joins the dictionary only.
    void overlayAddressFormats(const QVariantList &rows);
    // Replaces the table and dictionary with the rows of the JSON file at `path`; a missing or
    // broken file leaves both empty.
    void loadAddressFormats(const QString &path);

private:
    struct State
    {
        AddressFormatTable addressFormatTable;
        AddressFormatDict addressFormatDict;
        LabelTable customLabels;
        LabelTable labels;
        LabelTable localizedLabels;
        std::optional<QVariantList> customItems;
    };
    static State startState();
    // setLabel's adding; m_mutex held.
    bool offerLabelLocked(const QString &label, const QString &identifier);

    mutable QMutex m_mutex;
    State m_state; // guarded by m_mutex
};
