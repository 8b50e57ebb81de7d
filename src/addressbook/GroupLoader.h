#pragma once

#include "model/AddressBookRecords.h"
#include "platform/StoreContact.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Reads a container's contacts on demand, when one of its groups is first selected: the whole
// container at once, the top group first, then every store group's members as rows sharing the
// top group's persons, so that an edit made in one group shows in all of them.
//
// A member is found in the top group by its store identifier; an organisation that is not found
// so is looked up by its company name, the first such row winning. A member found in neither way
// is left out. A member joins with its top row's mark, so one deleted there joins marked deleted;
// the undo and redo of a delete done before the read take its row along (ContactGroupEdits). A
// table that a group already holds (rows dropped on it before its container was read) is kept with
// its pending rows; only the members it lacks are added.
class GroupLoader
{
public:
    // A store group's members, or the whole container for none (AddressBookLoader::cnContactsForGroup).
    using Fetch = std::function<QList<StoreContact>(const std::optional<StoreGroup> &group,
                                                    const QString &containerIdentifier)>;

    explicit GroupLoader(Fetch fetch);

    void loadContainer(const ContainerDict &container);

private:
    struct TopIndex
    {
        QHash<QString, ContactRowPtr> byIdentifier;
        QHash<QString, ContactRowPtr> byCompany;
    };

    void loadTopGroup(GroupDict &top);
    void loadStoreGroup(GroupDict &group, const TopIndex &index);
    static ContactRowPtr memberRow(const StoreContact &member, const TopIndex &index);
    static TopIndex indexOf(const ContactTable &rows);
    // The custom-item values kept in the cloud for each contact, as the load at start restores
    // them; reading them back is no edit, so the persons stay unchanged.
    static void restoreCustomItems(const ContactTable &rows);

    Fetch m_fetch;
};
