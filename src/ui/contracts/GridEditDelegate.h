#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class QObject;
class UndoManager;

// What the grid's commands ask of the main view controller: the undoable edits of values and
// contacts, the undo manager their groups go on, and the window's edited mark. The grid never
// writes a record itself; `sender` is the grid (the broadcast that follows does not refresh it).
// The value methods have the signatures of the detail tables' delegate, so one implementation
// serves both.
class GridEditDelegate
{
public:
    virtual ~GridEditDelegate() = default;

    virtual bool undoReplaceValue(const QVariant &value, const QString &identifier,
                                  const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                         const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact) = 0;
    virtual bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) = 0;

    // Refresh the grid and select the added rows; neither marks the window edited.
    virtual void undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group) = 0;
    virtual void undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                                    bool doUndo) = 0;

    // "Add New Contact" of the cell menu: the window's own command.
    virtual void addContact(QObject *sender) = 0;

    virtual const GroupDictPtr &selectedGroupDict() const = 0;
    virtual UndoManager *undoManager() const = 0;
    virtual void setDocumentEdited(bool edited) = 0;
};
