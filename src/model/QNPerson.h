#pragma once

#include "model/LabelTables.h"
#include "platform/StoreContact.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

class CloudKeyValueStore;
class QNPerson;
// Records are shared by every view that shows them and compare by identity.
using QNPersonPtr = std::shared_ptr<QNPerson>;

// A photo's image and thumbnail bytes (JPEG or PNG as they came); nullopt where unread, empty for a
// removed photo.
struct PhotoBytes
{
    std::optional<QByteArray> imageData;
    std::optional<QByteArray> thumbnailImageData;
};

// One contact of the address book, and the vocabulary that all contacts share.
class QNPerson
{
public:
    // ---------------------------------------------------------------------------------------------
    // Class-level tables: field identifiers, labels, class custom items and address formats.
    //
    // The identifiers are fixed; the rest live in LabelTables::shared(), which these operations
    // read and change (copies out, one lock).
    // ---------------------------------------------------------------------------------------------

    using LabelTable = LabelTables::LabelTable;
    using AddressFormatEntry = LabelTables::AddressFormatEntry;
    using AddressFormatTable = LabelTables::AddressFormatTable;
    using AddressFormatDict = LabelTables::AddressFormatDict;

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
    static LabelTable customLabelTableDict();

    static void addCustomLabel(const QString &label, const QString &identifier);
    // With an empty `from`, adds `to` unless the identifier already offers it (false then); else
    // renames `from` to `to` in place, or appends `to` when `from` is unknown (true).
    static bool setLabel(const QString &from, const QString &to, const QString &identifier);
    // Takes a label the user deleted out of the identifier's labels, display texts and custom
    // labels, so that no menu offers it (or an empty label in its place); false when the
    // identifier has no such label.
    static bool removeLabel(const QString &label, const QString &identifier);

    // The address book's custom item definitions (CustomItemDict maps); nullopt until first set.
    static void setCustomItems(const QVariantList &items);
    static std::optional<QVariantList> customItems();

    // The services offered for "Social Network", in menu order.
    static QStringList socialServiceLabels();

    static AddressFormatTable addressFormatTable();
    static AddressFormatDict addressFormatDict();
    // Lays the given rows (JSON objects as maps) over the table: a known country code replaces
    // its row in place, a new code joins the dictionary only.
    static void setAddressFormatTable(const QVariantList &entries);
    // Replaces the table and dictionary with the rows of the JSON file at `path` (first use loads
    // the bundled ":/AddressFormat.json"); a missing or broken file leaves both empty.
    static void loadAddressFormatTable(const QString &path);

    // ---------------------------------------------------------------------------------------------
    // Values of a contact, and the class operations that normalise them.
    //
    // Every value is a plain QVariantMap / QVariantList with the exact string keys below, so that
    // it goes to JSON (cloud store, pasteboard, archive) unchanged. Date components inside them
    // ("value" of a BirthdayDict or of a dates entry) are maps {"year", "month", "day"} whose absent
    // parts are absent keys. The store objects of an entry read from the store ("phoneNumber",
    // "postalAddress", "socialProfile", "instantMessageAddress", "contactRelation") are kept as
    // their plain text or a map with StoreValueKey keys, for the same reason.
    //
    // Entry numbering: every entry of a labelled list carries "labelIndex", its identity for life
    // (0..n-1 as read; an added entry gets nextLabelIndex). A position is an index into the list;
    // convert between the two only with findLabeledValue.
    // ---------------------------------------------------------------------------------------------

    // "label", "cnlabel", "value", "stringValue", "labelIndex" and the kind's own keys.
    using LabeledValueDict = QVariantMap;
    // A LabeledValueDict of a postal address: "Street", "City", "State", "ZIP", "Country",
    // "ISOCountryCode", "PredictCountryCode", "formattedString".
    using AddressDict = QVariantMap;
    // "FirstName", "MiddleName", "LastName", "PreviousFamilyName", "nameOrdering" (int 0..2),
    // "showAsPerson" (bool), "stringValue".
    using NameDict = QVariantMap;
    // "FirstName", "MiddleName", "LastName", "stringValue".
    using PhoneticNameDict = QVariantMap;
    // "value" (date components, absent without a date), "stringValue" ("yyyy.MM.dd(EEE)").
    using BirthdayDict = QVariantMap;

    // The eight labelled lists of a contact.
    enum class LabeledKind
    {
        Phone,
        Email,
        Address,
        URL,
        SocialProfile,
        InstantMessage,
        Relation,
        Dates
    };
    static constexpr int LabeledKindCount = 8;
    static std::optional<LabeledKind> labeledKindForIdentifier(const QString &identifier);
    static QString identifierForLabeledKind(LabeledKind kind);
    // The store key of the kind's list ("phoneNumbers", ...).
    static QString storeKeyForLabeledKind(LabeledKind kind);

    // Normalisers: bring an entry's derived keys ("stringValue", default label, kind keys) in line.
    static void updatePhoneValue(LabeledValueDict &entry);
    static void updateEmailValue(LabeledValueDict &entry);
    static void updateURLValue(LabeledValueDict &entry);
    static void updateSNSValue(LabeledValueDict &entry);
    static void updateIMSValue(LabeledValueDict &entry);
    static void updateRelationshipValue(LabeledValueDict &entry);
    static void updateDatesValue(LabeledValueDict &entry);
    // Option 1 keeps the country in "formattedString" and "stringValue"; option 0 leaves it out.
    // Every address the record holds keeps it: an edited address shows as it will after a reload.
    static void updateAddressValue(AddressDict &entry, int option);
    // The kind's normaliser; addresses with the given option.
    static void updateLabeledValue(LabeledKind kind, LabeledValueDict &entry, int addressOption = 1);

    // Position of the first entry whose "labelIndex" is labelIndex; -1 when none has it.
    static qsizetype findLabeledValue(const QVariantList &list, qsizetype labelIndex);
    // The larger of the list's count and its largest "labelIndex" plus one.
    static qsizetype nextLabelIndex(const QVariantList &list);
    // Numbers the entries without a "labelIndex", in list order, after the largest number given.
    static void numberNewEntries(QVariantList &list);

    // Country code of a country name (matched by name, code, three-letter code or localized name);
    // empty when unknown. Callers pass the name upper-cased.
    static QString predictCountryCode(const QString &country);
    // [code, the country's "Order" tokens...], or [code, Street, City, State, ZIP, Country] when
    // the table has no order for the code. The country name is not used.
    static QStringList orderOfAddressFormats(const QString &countryCode, const QString &country = {});
    // One part of an address's one-line text: the part followed by one blank (empty for an empty
    // part) and its place in that text.
    struct AddressPartRange
    {
        QString identifier;
        QString value;
        qsizetype location = 0;
        qsizetype length = 0;

        bool operator==(const AddressPartRange &) const = default;
    };
    // The parts of an address in its country's order, at consecutive places.
    static QList<AddressPartRange> rangeTableFromAddressLabeledValue(const AddressDict &entry);

    // Display name of a NameDict under its "nameOrdering" (0: the system's sort order).
    static QString compositeNameFromNameDict(const NameDict &name);
    static QString compositeNameFromParts(const QString &first, const QString &middle, const QString &last,
                                          int ordering);
    // The order the store gives a name with these parts when it reads it back (1 or 2).
    static int nameOrderingForNameDict(const NameDict &name);

    // Writes "stringValue" from "value".
    static void updateBirthdayValue(BirthdayDict &birthday);
    // "yyyy.MM.dd(EEE)" in the user's locale; a date without a year is "MM.dd"; other absent
    // parts count as 1; empty when the parts make no date.
    static QString dateStringFromDateComponents(const DateComponents &components);
    static QVariantMap variantFromDateComponents(const DateComponents &components);
    // Accepts a components map (numbers may have gone through JSON), a QDate or a QDateTime.
    static std::optional<DateComponents> dateComponentsFromVariant(const QVariant &value);

    // ---------------------------------------------------------------------------------------------
    // A record.
    //
    // A record wraps a store contact and reads each kind of value from it on first use, or stands
    // alone. "Not read yet" is an absent std::optional (held* accessors show it); getters read
    // and return copies; a missing text reads as the empty string.
    // A key that the store contact was not fetched with is fetched again on the spot; a fetch that
    // fails caches nothing and leaves the store contact alone, so the value stays unread and the
    // write-back cannot overwrite the stored one. A fetch that succeeds adds its keys to the
    // record's store contact.
    //
    // A record is used by one thread at a time (records are built on several loader threads at
    // once); the flags and the value cache may be read from others.
    // ---------------------------------------------------------------------------------------------

    // A new contact for the user's "add" and the CSV reader: a fresh upper-case UUID, created.
    QNPerson();
    // The record of a store contact; reads its name at once.
    explicit QNPerson(const StoreContact &contact);
    QNPerson(const QNPerson &) = delete;
    QNPerson &operator=(const QNPerson &) = delete;

    // The archive: the 24 fields as one JSON object (image data as base64). Decoding sets the
    // fields only; a missing key gives nil, 0 or false.
    QJsonObject encodeWithCoder();
    static QNPersonPtr initWithCoder(const QJsonObject &archive);

    // The key in rows, undo, the cloud store and the interchange code; made from the composite
    // name and the date when unset (a record decoded from an archive without one).
    QString uniqueId();
    void setUniqueId(const QString &uniqueId)
    {
        m_uniqueId = uniqueId;
        noteRevision();
    }
    // A company's name at load (organisations of groups are matched by it); null for a person.
    QString uniqueId2() const { return m_uniqueId2; }
    void setUniqueId2(const QString &uniqueId2)
    {
        m_uniqueId2 = uniqueId2;
        noteRevision();
    }

    // True for a person, false for a company; follows NameDict "showAsPerson".
    bool showAsPerson() const { return m_showAsPerson; }
    void setShowAsPerson(bool showAsPerson)
    {
        m_showAsPerson = showAsPerson;
        noteRevision();
    }
    // Not yet in the store (new, from vCard or CSV, a copy): the save adds it.
    bool isCreated() const { return m_created; }
    void setCreated(bool created) { m_created = created; }
    // Edited since load: the save updates it. Clearing the mark forgets which values were edited.
    bool isChanged() const { return m_changed; }
    void setChanged(bool changed)
    {
        m_changed = changed;
        if (!changed)
            m_editedStoreKeys.clear();
    }
    // The store keys of the values edited through the record's setters since they were read.
    QSet<QString> editedStoreKeys() const { return m_editedStoreKeys; }
    // Moves on with every write of a value, a flag that views show or the store contact, never on
    // a read: what a view made of the record is current while the number is the one it saw.
    quint64 revision() const { return m_revision.load(std::memory_order_relaxed); }

    // The system's name order when the record was made: 0 none, 1 given name first, 2 family first.
    int defaultNameOrdering() const { return m_defaultNameOrdering; }
    void setDefaultNameOrdering(int ordering)
    {
        m_defaultNameOrdering = ordering;
        noteRevision();
    }
    // The system's country code when the record was made, upper-case.
    QString defaultCountryCode() const { return m_defaultCountryCode; }
    void setDefaultCountryCode(const QString &code)
    {
        m_defaultCountryCode = code;
        noteRevision();
    }
    // The record's own name order (NameDict "nameOrdering").
    int nameOrdering() const { return m_nameOrdering; }
    void setNameOrdering(int ordering)
    {
        m_nameOrdering = ordering;
        noteRevision();
    }

    // The wrapped store contact; nullopt for a standalone record.
    std::optional<StoreContact> cnContact() const { return m_cnContact; }
    void setCnContact(const std::optional<StoreContact> &contact)
    {
        m_cnContact = contact;
        // The values held may have been read from another contact.
        m_editedSinceRead = true;
        noteRevision();
    }

    // Photo bytes as read or set (JPEG or PNG as they came); nullopt until read or set. An empty
    // array is a removed photo, which the write-back passes on.
    std::optional<QByteArray> imageData() const { return m_imageData; }
    void setImageData(const std::optional<QByteArray> &data)
    {
        m_imageData = data;
        noteEdit(StoreKey::ImageData);
        noteRevision();
    }
    std::optional<QByteArray> thumbnailImageData() const { return m_thumbnailImageData; }
    void setThumbnailImageData(const std::optional<QByteArray> &data)
    {
        m_thumbnailImageData = data;
        noteRevision();
    }

    // The record's own custom-item definitions (CustomItemDict maps). Named apart from the class
    // operations customItems/setCustomItems, which hold the address book's definitions.
    QVariantList ownCustomItems() const { return m_customItems; }
    void setOwnCustomItems(const QVariantList &items)
    {
        m_customItems = items;
        noteRevision();
    }

    // The value cache: string fields and custom-item values by identifier. Locked, so flags and
    // cache may be read while another thread works with the record.
    QVariantMap items() const;
    void setItems(const QVariantMap &items);
    // The cached value, or an invalid QVariant when the identifier has none.
    QVariant item(const QString &identifier) const;
    void setItem(const QString &identifier, const QVariant &value);
    void removeItem(const QString &identifier);

    // Text of a string identifier ("Company", "Note", ...): the cache, else the store contact
    // (cached then); empty for a standalone record or when the store cannot give it.
    QString stringFieldForIdentifier(const QString &identifier);

    // --- Name and phonetic name ---

    // The NameDict: the edited one, else read from the store contact each time (an unedited record
    // keeps no copy); a standalone record without one gets {"showAsPerson": true} (not kept).
    NameDict nameValue();
    std::optional<NameDict> heldNameValue() const { return m_nameValue; }
    // One part ("FirstName", "MiddleName", "LastName", "PreviousFamilyName") and the "stringValue"
    // of nameValue, without making the dictionary.
    QString namePart(const QString &part);
    QString nameStringValue();
    // "Name" (a NameDict; nil empties it), a name part ("FirstName", "MiddleName", "LastName",
    // "PreviousFamilyName"), "Phonetic Name" (a PhoneticNameDict; nil empties it; other values
    // keep it) or a phonetic part ("Phonetic FirstName"..., kept under its identifier). Marks the
    // record changed; other identifiers are ignored.
    void setNameValue(const QVariant &value, const QString &identifier);
    // Takes "showAsPerson" into the record, orders the name as the store will and writes
    // "stringValue"; a held phonetic name follows the order.
    void updateNameValue(NameDict &name);
    // The display name, recomputed: the name for a person, "Company" for a company, "No Name"
    // when that is empty.
    QString compositeName();

    // The PhoneticNameDict: the edited one, else read from the store contact each time; nullopt
    // for a standalone record without one.
    std::optional<PhoneticNameDict> phoneticNameValue();
    std::optional<PhoneticNameDict> heldPhoneticNameValue() const { return m_phoneticNameValue; }
    // One key of phoneticNameValue; "stringValue" gives the phonetic name's text.
    QString phoneticPart(const QString &key);
    QString phoneticName();
    // Writes "stringValue" from "FirstName" and "LastName" in the record's name order.
    void updatePhoneticName(PhoneticNameDict &phoneticName) const;

    // --- Labelled lists ---

    // Copies of the entries: the edited list, else read from the store contact each time (an
    // unedited list is not kept); empty when there are none or the store cannot give them.
    // Reading offers no labels in the menus.
    QVariantList labeledValues(LabeledKind kind);
    // Whether the list can be read: held, standalone, or the store contact has (or fetches) it.
    bool labeledValuesReadable(LabeledKind kind);
    // Offers the labels of the contact's stored values in the label menus (setLabel): those of its
    // store contact, or of its lists for a record read from a file. Called once per contact that
    // joins the address book, never while a contact is shown; an empty label offers nothing.
    void offerStoredLabels() const;
    // The labels offerStoredLabels offers, added to `collected` (identifier to labels) where
    // missing, in the contact's order; the tables are not touched. A loader offers those of many
    // contacts at once (LabelTables::offerLabels).
    void collectStoredLabels(LabelTable &collected) const;
    // Appends a normalised copy with the next "labelIndex" and marks the record changed. An unread
    // list is read first (a standalone record starts an empty one); when the store cannot give it
    // the entry is dropped, logged, rather than replace the stored list.
    void addLabeledEntry(LabeledKind kind, const LabeledValueDict &entry);
    // nil empties the list; a list replaces it (entries normalised, numbers kept, entries without a
    // "labelIndex" numbered); one entry replaces the entry with its "labelIndex" (nothing when
    // none has it), and one without a "labelIndex" is added as a new entry. Marks the record
    // changed when something changed.
    void replaceLabeledEntries(LabeledKind kind, const QVariant &value);
    // As above, but one entry replaces the entry at that position (nothing beyond the list).
    void replaceLabeledEntries(LabeledKind kind, const QVariant &value, qsizetype position);
    // The label and text ("label", "stringValue") of each entry of a list that is not read yet, as
    // labeledValues would give them, taken from the store contact without reading the list into
    // the record: views that show only these need no dictionary per entry. nullopt once the list
    // is held (read that), when the store contact lacks the key, and for the kinds whose text is
    // made by a normaliser (addresses, instant messages).
    struct LabeledText
    {
        QString label;
        QString text;
    };
    std::optional<QList<LabeledText>> unreadLabeledTexts(LabeledKind kind) const;
    // The list as held, nullopt while unread; set without normalising or marking (for sorting,
    // deleting one entry and the archive).
    std::optional<QVariantList> heldLabeledValues(LabeledKind kind) const;
    void setHeldLabeledValues(LabeledKind kind, const std::optional<QVariantList> &list);

    // --- Birthday ---

    // The BirthdayDict, read on first use; nullopt for a standalone record without one. When the
    // store cannot give it, an unkept {"stringValue": ""}.
    std::optional<BirthdayDict> birthdayValue();
    // Normalises and keeps the dictionary; nullopt keeps an empty one (no birthday). Marks changed.
    void setBirthdayValue(const std::optional<BirthdayDict> &birthday);

    // --- Store ---

    // The record written into a mutable copy of the given store contact (a new contact for
    // nullopt). Values never read are left as the contact has them; "No label" and "No service"
    // reach the store as no label and no service.
    StoreContact contactFromCache(const std::optional<StoreContact> &contact) const;
    // Only the edited values (editedStoreKeys) written into a copy of the store's current contact,
    // which keeps just the keys written: saving it leaves every other value as the store has it
    // now, another program's newer ones included.
    StoreContact editedContactFromCache(const StoreContact &contact) const;

    // ---------------------------------------------------------------------------------------------
    // Values by field identifier, the photo, custom items and copying.
    //
    // Views, editors, find, printing and the interchange code reach every value of a record through
    // these, by identifier: a built-in one (allIdentifiers, the name and phonetic parts, the address
    // parts, the pseudo-identifiers "Groups", "Name Ordering", "Name Display") or the name of one of
    // the record's own custom items. nil is an invalid QVariant. Storing operations mark the record
    // changed unless they say otherwise.
    //
    // Custom items: the record's definitions (ownCustomItems, CustomItemDict maps "Name", "Type",
    // "Labels", "ImageData") decide which names are custom identifiers of the record. A value lives
    // in the value cache under the item's name: a string, a list of LabeledValueDict ("label",
    // "value", "stringValue" = "value", "labelIndex"), or a map. Reads fall back on the cloud
    // key-value store's entry under the record's uniqueId; a cloud list is taken into the cache, a
    // cloud string never is. Where two definitions share a name, the last one decides.
    // ---------------------------------------------------------------------------------------------

    // The cloud store that custom values fall back on: the process-wide one, unless a test sets
    // another (nullptr goes back to it). The store must outlive the records that read it.
    static void setCloudKeyValueStore(CloudKeyValueStore *store);
    static CloudKeyValueStore &cloudKeyValueStore();

    // "Labeled Value", "String Value" or "Dictionary Value" ("Name", "Phonetic Name", "Birthday");
    // empty for the photo, name and address parts, pseudo-identifiers and unknown names. A custom
    // item of the record answers its own "Type", even under a built-in identifier's name.
    QString typeForIdentifier(const QString &identifier) const;
    // The value of any identifier: a NameDict, PhoneticNameDict or BirthdayDict (nil without one),
    // a name part's text, the photo or "thumbnail" as a QImage (nil without a photo), a list of
    // LabeledValueDict, a string field's text, a custom value, "" for the pseudo-identifiers. nil
    // for a name the record does not know. A string field is read from the store at most once; a
    // fetch that fails reads as "" and is not cached.
    QVariant valueForIdentifier(const QString &identifier);
    // Display text of a single-valued identifier ("Birthday": its "stringValue"); never null, ""
    // for lists, the photo and anything unknown.
    QString stringValueForIdentifier(const QString &identifier);
    // Copies of the entries of a labelled identifier or a "Labeled Value" custom item; empty for
    // anything else.
    QVariantList labeledValueForIdentifier(const QString &identifier);
    // A copy of the entry at that position of the list; nullopt beyond it (negative included).
    std::optional<LabeledValueDict> labeledValueForIdentifierAtIndex(const QString &identifier,
                                                                     qsizetype position);
    // A copy of the first entry whose "labelIndex" is labelIndex; nullopt when none has it.
    std::optional<LabeledValueDict> labeledValueForIdentifierAtLabelIndex(const QString &identifier,
                                                                          qsizetype labelIndex);

    // Stores a whole value: a list (labelled identifiers, normalised, numbers kept), a string
    // field's text, a NameDict, a name or phonetic part, a PhoneticNameDict, a BirthdayDict, a
    // QImage under "Photo" (nil removes it), any value of a custom item of the record. Under an
    // unknown name a list makes a "Labeled Value" item and a string a "String Value" item (address
    // parts included: change those through the "Address" entry). Other values are ignored and do
    // not mark the record.
    void setValue(const QVariant &value, const QString &identifier);
    // Appends one entry (a map) with the next "labelIndex". Under a name the record does not know,
    // a map or a list of maps makes a "Labeled Value" item numbered from 0. A "String Value" or
    // "Dictionary Value" item takes nothing.
    void addLabeledValue(const QVariant &value, const QString &identifier);
    // nil empties the list, a list replaces it, one entry replaces the entry with its "labelIndex"
    // (nothing when none has it); one without a "labelIndex" is added as a new entry. Identifiers
    // whose type is not "Labeled Value" are left alone.
    void replaceLabeledValue(const QVariant &value, const QString &identifier);
    // Removes the first entry whose "labelIndex" is labelIndex from the list the record holds; a
    // negative number, no list or no match changes nothing. Neither renumbers nor marks the record.
    void deleteLabeledValueForIdentifier(const QString &identifier, qsizetype labelIndex);
    // Sorts the record's list of a labelled identifier by one key of its entries (stable, plain
    // text comparison, numbers kept) and answers whether the order changed. Keys: "stringValue" and
    // "label" for every kind; "ZIP", "State", "City", "Street", "Country" for "Address"; "service"
    // and "username" for "Instant Message" and "Social Network". Anything else answers false.
    // Marking the record is the caller's.
    bool sortForIdentifier(const QString &identifier, const QString &sortKey, bool ascending);

    // The image of the photo data, else of the thumbnail data; a null image without either. Reads
    // both from the store on first use (without replacing the store contact).
    QImage photo();
    // The thumbnail data's image, else the photo's; without either a placeholder: a person's
    // ":/icons/icon_person.png" or a company's ":/icons/icon_company.png".
    QImage thumbnail();
    // An image is fitted into 512 by 512 and kept as PNG, with a new PNG thumbnail; nullopt removes
    // the photo and the thumbnail. A null image is ignored and does not mark the record.
    void setPhoto(const std::optional<QImage> &image);
    // The photo's bytes as held (read from the store first where never read), for a photo that
    // goes to another record or back to this one unchanged: setPhoto would fit and re-encode it.
    PhotoBytes photoBytes();
    // Writes both as given; does not mark the record changed.
    void setPhotoBytes(const PhotoBytes &bytes);

    // The names of the record's custom items, in order.
    QStringList customIdentifiers() const;
    // Adds a definition of that name or updates the first one: "Type" and "Name" set; a "Labeled
    // Value" item's "Labels" become the labels (each offered for the item in the label tables);
    // other types keep their "Labels"; image data replaces the icon, nullopt keeps it. Does not
    // mark the record.
    void addCustomItem(const QString &type, const QString &name, const QStringList &labels,
                       const std::optional<QByteArray> &imageData);
    // The same with the labels added to `collected` (item name to labels) where missing instead of
    // offered: a loader offers those of many records at once, in their order.
    void addCustomItem(const QString &type, const QString &name, const QStringList &labels,
                       const std::optional<QByteArray> &imageData, LabelTable &collected);
    // Removes the first definition of that name and the cached value. Does not mark the record.
    void deleteCustomItemForName(const QString &name);
    // The first definition of that name.
    std::optional<QVariantMap> customItemForIdentifier(const QString &identifier) const;
    // The record's value of a custom item: for "Labeled Value" copies of the list (the cache, else
    // the cloud entry, else empty; kept in the cache from then on), for other types the cache,
    // else the cloud entry, else "". nil when the record has no item of that name.
    QVariant customValueForIdentifier(const QString &identifier);

    // A new record (created, a fresh uniqueId, no store contact) holding every value of this one:
    // the fixed identifiers, read first where never read, the photo's bytes as they are, and each
    // custom item with its definition. The copy is marked changed.
    QNPersonPtr copy();

    // ---------------------------------------------------------------------------------------------
    // vCard data, through the store's vCard serialisation.
    // ---------------------------------------------------------------------------------------------

    // The record of the first card of vCard 2.1 or 3.0 data (initWithParsedContact of it); null
    // when the data holds no card. Encoded values without a CHARSET that are not UTF-8 are read in
    // the fallback charset (the encoding of the file the data came from).
    static QNPersonPtr initWithVCardData(const QByteArray &data, const QByteArray &fallbackCharset = {});
    // The record of a contact parsed from a card: created, unchanged, with the parser's fresh
    // identifier as uniqueId. It keeps the parsed contact and reads each value from it on first
    // use, as a store record does; the contact has every key, so nothing is ever fetched for it.
    static QNPersonPtr initWithParsedContact(StoreContact contact);
    // Reads every value not read yet (the photo as bytes), so that a record written whole into a
    // new store contact (contactFromCache) leaves none of its values out.
    void readEveryValue();
    // The store contact that the record's card is written from. A record not edited since it read
    // its store or parsed contact gives that contact as the write-back would make it of the values
    // (keys it lacks fetched first), reading none of them; any other record gives its values
    // written into a new contact, every value read first.
    StoreContact vCardContact();
    // The record as the store serialises it (vCard 3.0, CR LF; no NOTE, PHOTO or custom items).
    // Empty when it cannot be serialised.
    QByteArray vCardData();
    // The photo's bytes as they are (read first), else the thumbnail's; empty without a photo.
    QByteArray photoData();
    // The UID of the card the record was read from, which the vCard writers write back so that
    // other programs can match the card again; empty for every other record (a copy included:
    // it is another contact). The store does not keep it.
    QString vCardUID() const { return m_vCardUID; }
    void setVCardUID(const QString &uid) { m_vCardUID = uid; }

private:
    struct ArchiveTag
    {
    };
    explicit QNPerson(ArchiveTag);

    void readSystemDefaults();
    void noteEdit(const QString &storeKey)
    {
        m_editedStoreKeys.insert(storeKey);
        m_editedSinceRead = true;
        noteRevision();
    }
    // A value cache entry set or removed by hand: a string field's may no longer be the contact's.
    void noteCacheWrite(const QString &identifier);
    void noteRevision() { m_revision.fetch_add(1, std::memory_order_relaxed); }
    // Notes the name and phonetic parts (and the contact type) that differ from before the edit.
    void noteNameEdits(const std::optional<NameDict> &nameBefore,
                       const std::optional<PhoneticNameDict> &phoneticBefore);
    // Writes the cached values into the contact, every one or only those of the given keys;
    // answers the keys written.
    QStringList writeCache(StoreContact &contact, const QSet<QString> *onlyKeys) const;
    // Fetches the keys again and adds them to the store contact; false when that fails.
    bool refetchKeys(const QStringList &keys);
    // Whether the store contact has the keys, fetching those it lacks.
    bool hasOrFetchesKeys(const QStringList &keys);
    // What contactFromCache makes of the store contact's values when every one is read and none
    // edited, made without reading them.
    StoreContact contactFromUnreadValues() const;
    // The entries of the kind's list of a store contact, as reading it into the record makes them.
    static QVariantList readStoreEntries(LabeledKind kind, const StoreContact &contact);
    bool hasKeys(const QStringList &keys) const;
    // The held list, reading it first; null when it cannot be read (or there is no store contact).
    QVariantList *loadedLabeledValues(LabeledKind kind);
    // The held list, null while none is held; and its slot, made on demand.
    const QVariantList *heldList(LabeledKind kind) const;
    std::optional<QVariantList> &listSlot(LabeledKind kind);
    std::optional<NameDict> readNameValue();
    // The store contact with the name's keys, fetched again where it lacks them; null without one.
    const StoreContact *nameContact();
    QString storeNamePart(qsizetype part) const;
    // The name order and the person-or-company kind, as the store contact gives them.
    void takeNameKind(const StoreContact &contact);
    void readNameKind();
    // Keeps the name and phonetic name as read, as a record written whole needs them.
    void holdNameValues();
    static const QStringList &nameReadKeys();
    static const QStringList &phoneticStoreKeys();
    void setNamePart(const QString &key, const QVariant &value);
    void setPhoneticPart(const QString &identifier, const QVariant &value);

    // The keys of the name's fetch: names, phonetic names, organisation, titles and the formatter's.
    static QStringList nameFetchKeys();
    std::optional<StoreContact> refetchStoreContact(const QStringList &keys);

    // The last definition of that name, which decides an item's type and value.
    std::optional<QVariantMap> lastCustomItemForName(const QString &name) const;
    qsizetype firstCustomItemPosition(const QString &name) const;
    bool isLabeledCustomItem(const QString &name) const;
    // The cached list of a "Labeled Value" item, taken from the cloud or started empty first.
    QVariantList customList(const QString &name);
    QVariant cloudCustomValue(const QString &name);
    // A custom item's value as stored under its name (lists as custom entries); no marking.
    void setCustomValue(const QVariant &value, const QString &name);
    // Appends the labels that the first definition of that name lacks, offering each for the item.
    void offerCustomLabels(const QString &name, const QStringList &labels);
    void addLabeledCustomValue(const QVariant &value, const QString &name);
    void replaceLabeledCustomValue(const QVariant &value, const QString &name);
    void setLabeledKindValue(LabeledKind kind, const QVariant &value);
    bool setNewCustomValue(const QVariant &value, const QString &name);
    void loadPhotoData();
    void copyPhotoInto(QNPerson &copied);

    bool m_showAsPerson = true;
    std::atomic<bool> m_created = false;
    std::atomic<bool> m_changed = false;
    std::optional<BirthdayDict> m_birthdayValue;
    int m_defaultNameOrdering = 0;
    QString m_defaultCountryCode;
    QString m_compositeName;
    std::optional<StoreContact> m_cnContact;
    int m_nameOrdering = 0;
    mutable QMutex m_itemsMutex;
    QVariantMap m_items;
    std::optional<NameDict> m_nameValue;
    std::optional<PhoneticNameDict> m_phoneticNameValue;
    // The lists as edited (or read for a whole write), made at the first: most records hold none.
    using HeldLists = std::array<std::optional<QVariantList>, LabeledKindCount>;
    std::unique_ptr<HeldLists> m_labeledValues;
    std::optional<QByteArray> m_imageData;
    std::optional<QByteArray> m_thumbnailImageData;
    QString m_uniqueId;
    QString m_uniqueId2;
    QVariantList m_customItems;
    QSet<QString> m_editedStoreKeys;
    // Whether a held value may differ from the store contact's: set by every edit and when the
    // contact is replaced, never cleared (clearing the changed mark does not make them the same).
    std::atomic<bool> m_editedSinceRead = false;
    QString m_vCardUID;
    std::atomic<quint64> m_revision = 0;
};
