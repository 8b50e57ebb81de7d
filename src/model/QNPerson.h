#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// One contact of the address book, and the vocabulary that all contacts share.
class QNPerson
{
public:
    // ---------------------------------------------------------------------------------------------
    // Class-level tables: field identifiers, labels, class custom items and address formats.
    //
    // Built once on first use (address formats first). Loader and import threads read them while
    // the main thread changes them, so one lock guards them all and every accessor returns a copy;
    // a change reaches the tables only through the set/add operations below.
    // ---------------------------------------------------------------------------------------------

    // Identifier (or "Show as Person", "Name Ordering") to its labels, in menu order.
    using LabelTable = QMap<QString, QStringList>;
    // One country's row: the resource's keys plus "Order" and, for non-English users,
    // "LocalizedCountry".
    using AddressFormatEntry = QVariantMap;
    using AddressFormatTable = QList<AddressFormatEntry>;
    // Country code to its entry; the same content as the table's row of that code.
    using AddressFormatDict = QMap<QString, AddressFormatEntry>;

    // The 19 field identifiers, in the order views list them.
    static QStringList allIdentifiers();
    // The 8 multi-valued identifiers.
    static QStringList labeledIdentifiers();
    // The 7 single-string identifiers.
    static QStringList stringIdentifiers();
    // The 5 address parts "ZIP", "State", "City", "Street", "Country".
    static QStringList addressIdentifiers();
    // "Phonetic Name" and its three parts.
    static QStringList phoneticIdentifiers();
    // Identifier to store key (StoreKey); "Name" and "Phonetic Name" have none.
    static QHash<QString, QString> CNIdentifiers();

    // Display name of an identifier, address part or other key of the views.
    static QString localizedIdentifierForKey(const QString &key);

    // Store label to the application's label word; "No label" for an empty one.
    static QString labelFromCNLabel(const QString &cnLabel);
    // Label word to store label; user text passes unchanged, a null label gives a null string.
    static QString CNLabelFromLabel(const QString &label);
    // Display text of a store label.
    static QString localizedLabelFromCNLabel(const QString &cnLabel);

    // The identifier's labels, custom labels or display texts (item i showing label i); nullopt
    // when the identifier has none yet.
    static std::optional<QStringList> labelsForIdentifier(const QString &identifier);
    static std::optional<QStringList> customLabelsForIdentifier(const QString &identifier);
    static std::optional<QStringList> localizedLabelsForIdentifier(const QString &identifier);

    // The label table with each identifier's custom labels appended where missing. The appended
    // labels stay in the table, so labelsForIdentifier shows them afterwards.
    static LabelTable labelTableDict();
    static LabelTable localizedLabelTableDict();
    static LabelTable customLabelTableDict();

    static void addCustomLabel(const QString &label, const QString &identifier);
    // With an empty `from`, adds `to` unless the identifier already offers it (false then); else
    // renames `from` to `to` in place, or appends `to` when `from` is unknown (true).
    static bool setLabel(const QString &from, const QString &to, const QString &identifier);

    // The address book's custom item definitions (CustomItemDict maps); nullopt until first set.
    static void setCustomItems(const QVariantList &items);
    static std::optional<QVariantList> customItems();

    // The services offered for "Social Network" by a platform of the given version: 5 up to
    // 1187.0, 16 above. The label table is built with a version above.
    static QStringList socialServiceLabels(double appKitVersion);

    static AddressFormatTable addressFormatTable();
    static AddressFormatDict addressFormatDict();
    // Lays the given rows (JSON objects as maps) over the table: a known country code replaces
    // its row in place, a new code joins the dictionary only.
    static void setAddressFormatTable(const QVariantList &entries);
    // Replaces the table and dictionary with the rows of the JSON file at `path` (first use loads
    // the bundled ":/AddressFormat.json"); a missing or broken file leaves both empty.
    static void loadAddressFormatTable(const QString &path);
};
