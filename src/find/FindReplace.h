#pragma once

#include "find/FindFields.h"
#include "ui/contracts/ItemAndRange.h"
#include "model/AddressBookRecords.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

class EditFunnel;

// Replacing the find string in contact values. Every write goes through the edit funnel, so each
// is undoable and marks its person changed; nothing is written where the text would not change.
// Rows marked deleted are left alone, and an empty find string replaces nothing.
class FindReplace
{
public:
    FindReplace(EditFunnel &funnel, FindFields fields, QString findString, Qt::CaseSensitivity cs);

    enum class Outcome
    {
        // The position's contact is gone, its field shows no text, or it has no location.
        Refused,
        // The position holds no current match, or its kind is never replaced.
        Unchanged,
        Replaced
    };
    struct Replacement
    {
        Outcome outcome = Outcome::Refused;
        // The address-book row written.
        ContactRowPtr row;
        // The position over the replacement, so that searching on starts after it.
        ItemAndRange cursor;
    };
    // Replaces the match at the position, only where the text there still is the find string.
    Replacement replaceByString(const QString &replacement, const ItemAndRange &position,
                                const ContactTable &contacts) const;

    // Every occurrence in the given fields of every contact; the detail contact (null when the
    // pane is hidden) in all the detail table's text fields instead.
    void replaceAll(const QString &replacement, const ContactTablePtr &contacts, const QStringList &columns,
                    const ContactRowPtr &detailContact) const;

    // The fields replace all changes in the detail pane's contact.
    static QStringList detailIdentifiers();

private:
    struct Target
    {
        QString text;
        ItemAndRange::TextRange range;
        std::function<bool(const QString &)> write;
    };
    std::optional<Target> targetAt(const ContactRowPtr &row, const ItemAndRange &position) const;
    std::optional<Target> entryTarget(const ContactRowPtr &row, const QString &listIdentifier,
                                      const ItemAndRange &position, const QString &key,
                                      ItemAndRange::TextRange range, const QString &writtenKey) const;
    std::optional<Target> nameTarget(const ContactRowPtr &row, const ItemAndRange &position) const;
    std::optional<Target> phoneticTarget(const ContactRowPtr &row, const ItemAndRange &position) const;
    static QString shownText(QNPerson &person, const ItemAndRange &position, const QString &type);

    void replaceAllIn(const ContactRowPtr &row, const QString &identifier, const QString &replacement) const;
    void replaceNameParts(const ContactRowPtr &row, const QStringList &parts, const QString &replacement) const;
    void replacePhoneticParts(const ContactRowPtr &row, const QStringList &parts,
                              const QString &replacement) const;
    void replaceInEntries(const ContactRowPtr &row, const QString &listIdentifier, const QStringList &keys,
                          const QString &replacement) const;
    // The map's texts under the keys with every occurrence replaced; false when none changed.
    bool replaceInMap(QVariantMap &map, const QStringList &keys, const QString &replacement) const;

    EditFunnel &m_funnel;
    FindFields m_fields;
    QString m_findString;
    Qt::CaseSensitivity m_cs;
};
