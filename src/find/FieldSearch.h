#pragma once

#include "find/FindFields.h"
#include "find/FindText.h"
#include "ui/contracts/ItemAndRange.h"

#include <QList>
#include <QString>

#include <optional>

class QNPerson;

// Which view's text a field is searched in: the grid shows the name as one text (and a company's
// name as its company), the detail table one row per name part.
enum class FieldLayout { Grid, Detail };

// Where a search in one field starts.
struct FieldPlace
{
    QString identifier;
    // The part to start in; empty starts at the first part (backwards: the last).
    QString subIdentifier;
    // The entry's own label index; 0 for a single-valued field.
    int labelIndex = 0;
    // Searching goes on after it (backwards: before it); no location searches the whole field.
    ItemAndRange::TextRange cursor;
    // The cursor in the named part's own text, which holds in the grid's and the detail table's
    // layouts alike, while the cursor's place in the field's text differs between them.
    std::optional<ItemAndRange::TextRange> itemCursor;
};

// The search for a find string inside one field of one contact. A field made of parts (a name, a
// phonetic name, an address, an instant message) is searched part by part from the starting part
// on; the hit's range is in the text the view shows for the field, its item range in the part.
// Dates and the birthday are never searched.
class FieldSearch
{
public:
    FieldSearch(QString findString, Qt::CaseSensitivity cs, FindFields fields);

    std::optional<ItemAndRange> find(FindDirection direction, FieldLayout layout, const ContactRowPtr &contact,
                                     const FieldPlace &place) const;

private:
    struct Part
    {
        QString name;
        QString text;
        // Where the part begins in the field's text.
        qsizetype offset = 0;
    };
    struct PartHit
    {
        qsizetype part = 0;
        ItemAndRange::TextRange range;
    };

    std::optional<ItemAndRange> findInParts(FindDirection direction, const QList<Part> &parts, qsizetype start,
                                            const ContactRowPtr &contact, const FieldPlace &place) const;
    std::optional<ItemAndRange> findInText(FindDirection direction, const QString &text,
                                           const ContactRowPtr &contact, const FieldPlace &place) const;
    std::optional<ItemAndRange> findInName(FindDirection direction, FieldLayout layout,
                                           const ContactRowPtr &contact, const FieldPlace &place) const;
    std::optional<ItemAndRange> findInPhoneticName(FindDirection direction, FieldLayout layout,
                                                   const ContactRowPtr &contact, const FieldPlace &place) const;
    std::optional<ItemAndRange> findInAddress(FindDirection direction, const ContactRowPtr &contact,
                                              const FieldPlace &place) const;
    std::optional<ItemAndRange> findInInstantMessage(FindDirection direction, const ContactRowPtr &contact,
                                                     const FieldPlace &place) const;

    // The grid's two name parts in the order the name text shows them.
    static QList<Part> gridNameParts(const QVariantMap &name, bool lastNameFirst);
    static QList<Part> detailParts(const QVariantMap &name, const QStringList &keys);
    static qsizetype namedPart(const QList<Part> &parts, const QString &name, FindDirection direction);
    static qsizetype gridStartPart(const QList<Part> &parts, const QString &subIdentifier, FindDirection direction);
    ItemAndRange hitAt(const ContactRowPtr &contact, const FieldPlace &place, ItemAndRange::TextRange range) const;

    QString m_findString;
    Qt::CaseSensitivity m_cs;
    FindFields m_fields;
};
