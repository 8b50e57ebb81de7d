#pragma once

#include "model/AddressBookRecords.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class QNPerson;
struct PhotoBytes;
class UndoManager;

// The merge sheet's own edits of its two working copies. Named after the edit funnel's methods,
// but nothing here touches the address book or the main window's undo history: every write goes to
// a copy's person and registers its inverse on the sheet's undo manager. Each method registers its
// own inverse while it runs, so undo and redo come back through the same methods.
//
// A method registers only on a path that writes; refused input changes nothing.
class MergeUndoLayer : public QObject
{
    Q_OBJECT

public:
    explicit MergeUndoLayer(UndoManager &undoManager, QObject *parent = nullptr);

    // The window's custom-item definitions, which give the type of an item a copy lacks.
    void setCustomItems(const QVariantList &items) { m_customItems = items; }

    // A labelled list (whole), one entry of it (by its "labelIndex"; none such is refused) or nil
    // (empties it); a text (nil stores the empty text). The same text is no change.
    bool undoReplaceValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact);
    // A QImage or nil; the same picture is no change, but removing an absent photo is one.
    bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact);
    // Another copy's photo bytes (image and thumbnail) as they are, neither fitted nor re-encoded;
    // always a change.
    bool undoReplacePhotoBytes(const PhotoBytes &bytes, const ContactRowPtr &contact);
    // A NameDict or nil (an empty name); always a change.
    bool undoReplaceNameValue(const QVariant &name, const ContactRowPtr &contact);
    // A PhoneticNameDict or nil; anything else is refused.
    bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact);
    // A BirthdayDict or nil; a dictionary of the same date is no change, nil always is one.
    bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact);
    // Labelled kinds only, an entry that exists; undo restores the whole list in its old order.
    void undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                             const ContactRowPtr &contact);
    void undoAddLabeledValue(const QVariantMap &value, const QString &identifier, const ContactRowPtr &contact);

    // The person's type of the identifier, else its custom item's "Type".
    QString valueType(const QNPerson &person, const QString &identifier) const;

signals:
    // A copy changed: the tables reload keeping their selection.
    void contactChanged();
    // An entry was deleted: the tables reload and select the row before their first selected one.
    void entryDeleted();

private:
    bool replaceLabeled(const QVariant &value, const QString &identifier, const ContactRowPtr &contact);
    void registerListRestore(QNPerson &person, const QString &identifier, const ContactRowPtr &contact);
    void registerPhotoRestore(QNPerson &person, const ContactRowPtr &contact);

    UndoManager &m_undoManager;
    QVariantList m_customItems;
};
