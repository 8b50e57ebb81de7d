#pragma once

#include "model/AddressBookRecords.h"
#include "model/QNPerson.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

// Option words of the vCard writers; an option absent from the list switches its line off.
namespace QNvCardOption {
inline const QString Note = QStringLiteral("Note");
inline const QString Photo = QStringLiteral("Photo");
inline const QString Custom = QStringLiteral("Custom");
inline const QString Renmei = QStringLiteral("Renmei");
inline const QString HagakiLayout = QStringLiteral("HagakiLayout");
// Passed by callers, read by no writer: CATEGORIES is written whenever group names are given.
inline const QString Categories = QStringLiteral("Categories");
} // namespace QNvCardOption

// Converts between contacts and vCard or CSV text. It keeps no state: make one per job; a job may
// run on a background thread. It reads the class-level custom-item definitions of QNPerson, which
// callers set before a background export.
//
// vCard reading cuts the text into cards, lets the store's vCard parser build each record and adds
// what that parser drops: ungrouped X- lines become custom items, CATEGORIES lines groups. The result
// is a one-container address book shaped like the store's. Writing starts from the store's vCard 3.0
// serialisation of a record (QNPerson::vCardContact) and adds NOTE, PHOTO, custom-item, CATEGORIES
// and UID lines before its END line.
//
// CSV writing uses one fixed 32-column layout; reading recognises columns by their header texts.
//
// The many-card reader and writer work on batches of cards side by side on the background pool
// and wait for each batch; the calling thread takes part, so a call from a pool thread cannot
// stall. Groups, rows, cards and progress come in card order as from one card after another.
class QNvCard
{
public:
    // Called after each card with a stop flag (false before each call; true makes the job answer
    // nothing) and the progress: the reader's offset just past the card (in UTF-16 units for a
    // QString, in bytes for UTF-8 bytes), the writer's index of the contact written. Runs on the
    // job's thread.
    using ProgressHandler = std::function<void(bool *stop, quint64 progress)>;

    // The two keys of a row that the CSV writers read: a ContactRow or a grid row, whose
    // "labelIndex" is a position in the record's lists.
    struct CsvRow
    {
        QNPersonPtr person;
        int labelIndex = 0;
    };

    // --- vCard reading ---

    // One container named "vCard" whose top group holds a new row per card read and whose other
    // groups are the categories, sorted by name after the top group. Nothing when stopped.
    // Cards the parser cannot read are skipped; a text without cards gives an empty top group.
    // BEGIN:VCARD and END:VCARD count only as whole lines after unfolding, never inside a value. A
    // card without END:VCARD runs to the next BEGIN:VCARD or the end of the text. A card's UID is
    // kept in its record. Encoded values without a CHARSET that are not UTF-8 are read in the
    // fallback charset: the encoding of the file the text was decoded from.
    std::optional<ContainerTable> containersFromVCards(const QString &text,
                                                       const ProgressHandler &progressHandler = {},
                                                       const QByteArray &fallbackCharset = {}) const;
    // The same for the text as UTF-8 bytes, read where they lie (a file's text is not copied);
    // the progress is the offset in bytes. The bytes must outlive the call only.
    std::optional<ContainerTable> containersFromVCards(QByteArrayView utf8,
                                                       const ProgressHandler &progressHandler,
                                                       QByteArrayView fallbackCharset) const;
    // The rows of the group of that uniqueId in a "vCard" container; null otherwise.
    ContactTablePtr contactsForGroup(const GroupDictPtr &group, const ContainerDictPtr &container) const;
    // The top group's rows of a "vCard" container; null otherwise.
    ContactTablePtr contactsInContainer(const ContainerDictPtr &container) const;
    // Adds the card's ungrouped X- lines to the person as custom items: "X-NAME:value" as a string
    // item, "X-NAME;type=label:value" as an entry of a labelled item. Values are decoded and
    // unescaped; lines the store's parser reads itself are left out.
    void decodeVCardCustomItems(const QString &card, QNPerson &person) const;
    // Whether X- lines of that name are read as something else or skipped, so that a custom item of
    // that name would not come back from a file (letter case ignored).
    static bool isReservedCustomItemName(const QString &name);

    // --- vCard writing ---

    // The record's vCard 3.0 card (CR LF line ends) with NOTE ("Note"), PHOTO ("Photo") and the
    // custom items of the class definitions ("Custom") inserted before END:VCARD, CATEGORIES of
    // the group names and the UID of the card it was read from. Empty when the record cannot be
    // serialised.
    QString vCardFromPerson(QNPerson &person, const QStringList &options,
                            const QStringList &groupNames) const;
    // The row's card with NOTE, X-RENMEI, X-HAGAKILAYOUTS and PHOTO as the options ask, a line for
    // every custom-item definition and entry, empty ones included, and the UID of the card it was
    // read from. No CATEGORIES.
    QString vCardFromContact(const ContactRow &row, const QStringList &options) const;
    // The cards of vCardFromPerson joined as UTF-8, each with the names of the container's groups
    // (not deleted, not the top group) that hold a row of the contact not marked deleted. Nothing
    // when stopped. A record not edited since it was read is written straight from the contact it
    // was read from, without reading its values into it.
    std::optional<QByteArray> vCardDataFromContacts(const ContactTable &rows, const QStringList &options,
                                                    const ContainerDictPtr &container,
                                                    const ProgressHandler &progressHandler = {}) const;
    // The same as text.
    std::optional<QString> vCardsFromContacts(const ContactTable &rows, const QStringList &options,
                                              const ContainerDictPtr &container,
                                              const ProgressHandler &progressHandler = {}) const;
    // The non-empty cards of vCardFromContact joined (copy, drag, single-contact export).
    QString vCardsFromContacts(const ContactTable &rows, const QStringList &options) const;
    // "PHOTO;ENCODING=b;TYPE=JPEG:" and the image as JPEG in base64, folded at 75 characters, with
    // its CR LF; empty when the image gives no JPEG.
    QString encodeVCardPhoto(const QImage &image) const;
    QByteArray jpegDataFromImage(const QImage &image) const;

    // --- CSV ---

    // A column of the CSV export: its header, the identifier or address part it shows, and the
    // label an entry must carry to be shown there (empty: any).
    struct CsvColumn
    {
        QString fieldName;
        QString type;
        QString label;
    };
    // The 32 columns of the export.
    static const QList<CsvColumn> &csvColumns();
    // The header line and one line per row, each ended by a line feed. Cells holding a comma, a
    // double quote or a blank are quoted, inner quotes doubled; a backslash is written as \\ and
    // tabs and line breaks as \t, \n and \r, so that text without them is written as it stands.
    QString csvFromSubContacts(const QList<CsvRow> &rows) const;
    // A cell of that export, or of a copied line, as it was before its backslashes, tabs and line
    // breaks were escaped.
    static QString unescapedCell(const QString &cell);
    // A copied labelled value ("label:text", the label's colons escaped) as its label and text;
    // nothing when the cell has no unescaped colon.
    struct LabeledCell
    {
        QString label;
        QString text;
    };
    static std::optional<LabeledCell> labeledCell(const QString &cell);
    template <typename Row> QString csvFromSubContacts(const QList<std::shared_ptr<Row>> &rows) const
    {
        QList<CsvRow> plain;
        plain.reserve(rows.size());
        for (const std::shared_ptr<Row> &row : rows)
            plain.append({row->person, row->labelIndex});
        return csvFromSubContacts(plain);
    }
    // One line of the identifiers' cells, each followed by the separator, the last separator
    // removed when the line is longer than it. Cells are escaped as the export escapes them; the
    // label of a labelled value also has its colons escaped (\:).
    QString csvStringFromContact(const CsvRow &row, const QStringList &identifiers, const QString &separator,
                                 bool shouldLocalize) const;
    // One cell: the field's text at that position of its list (-1: none), only when the entry's
    // label equals the asked label (when one is asked); quoted when it holds a blank.
    QString stringForIdentifier(const QString &identifier, const QString &label, qsizetype index,
                                QNPerson &person, bool shouldLocalize) const;

    // The rows of a CSV import, or why the text holds none.
    struct CsvImport
    {
        ContactTable rows;
        // Localised; set when the text is not a table of contacts.
        QString error;
    };
    // New records, one per data line, with the columns recognised from the header line (our own
    // layout's, mail programs' and web address books'); comma, semicolon or tab separates the
    // fields, whichever the header line holds most. No rows without text or data lines; an error
    // for a binary file or a header that names no column the reader knows.
    CsvImport contactsFromCSV(const QString &text) const;
    // The same, calling the handler after each header and each line with the offset just past it;
    // nothing when stopped. Header matching and the reading of every line take a time in step
    // with the text's length.
    std::optional<CsvImport> contactsFromCSV(const QString &text,
                                             const ProgressHandler &progressHandler) const;
    // The text's first line reads as the header of contactsFromCSV: two of its fields or more name a
    // column the import reads, whatever the others name; or it has two fields or more and more than half
    // of those not blank name such a column. A line of a contact's values seldom does ("Jane Doe,Acme"
    // names none, "Ann Lee,Acme,Manager" one of three), and a single word is more often a value
    // ("Title", "iPhone") than a table's one column.
    bool hasCsvHeader(const QString &text) const;
};
