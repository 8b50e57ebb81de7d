#pragma once

#include "model/AddressBookRecords.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

class AddressBook;
class QNPerson;
struct PhotoBytes;
class QObject;
class UndoManager;

// The undoable edits of a contact's values: every view's change of a value ends in one of these.
//
// Invariants:
// - A method reads the old value, registers its inverse on the window's undo manager, and only
//   then writes. It registers only on a path that writes: refused input leaves the record, the
//   undo history and the views as they were, and answers false.
// - A value equal to the one held writes nothing and answers false, as refused input does: no
//   undo step, no changed or edited mark, no notice. Both are compared as the record would hold
//   them (entries normalised by their kind, a name's or birthday's text made anew), so an editor
//   that hands back what it was given changes nothing. Adding or deleting an entry and the photo
//   are not compared.
// - An inverse puts back exactly what the record held: a text through the same method with the
//   old text, a name or birthday through the same method with the old dictionary, a labelled list
//   and a photo as held (entries and bytes unchanged). Each registers its own inverse, so an undo
//   registers the redo step and a redo the next undo step.
// - Changes are told through the address book's signals: contactDidUpdate for a value, tableChanged
//   for a list written through the list setter.
// - The methods open no undo group; a caller that edits several rows opens one around its calls.
//   The merge opens one around all of its writes.
// - A write goes to the record only, marks the person changed and refreshes the views; nothing
//   reaches the store before Save. Outside undo and redo every write marks the window edited.
// - A list the store could not give is not edited: such an edit is refused.
class EditFunnel
{
public:
    explicit EditFunnel(AddressBook &book);

    // A string field or custom "String Value" item (null stores ""); a labelled list or one entry
    // of it; an AddressDict under an address part, which replaces the whole address entry.
    bool undoReplaceValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                          QObject *sender);
    // A labelled list: null empties it, a list replaces it, an entry replaces the entry of its
    // "labelIndex" (an entry without one is added); an AddressDict under an address part.
    // Told through tableChanged with the contact; the edited mark is the caller's.
    bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                 const ContactRowPtr &contact, QObject *sender);
    bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                             const ContactRowPtr &contact, QObject *sender);
    // Refused for an address part and for a label index that no entry carries.
    bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                             const ContactRowPtr &contact, QObject *sender);
    bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact);
    // A PhoneticNameDict or null (an empty phonetic name).
    bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact);
    // A BirthdayDict or null (no birthday); anything else is refused.
    bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact);
    // A QImage, or null (or a null image) to remove the photo; anything else is refused.
    bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact);

    // Writes what differs of each merged row's person (PersonDifference, custom items included)
    // into the address-book row of the same position, as one undo step; then broadcasts the first
    // merged row. The window is marked edited only by what was written.
    void undoReplacePersonByContacts(const QList<ContactRowPtr> &newContacts,
                                     const QList<ContactRowPtr> &contacts);

    // The record's type of the identifier, else the "Type" of the first custom item of that name.
    QString valueType(QNPerson &person, const QString &identifier) const;

private:
    enum class Setter
    {
        ReplaceValue,
        ReplaceLabeledValue
    };

    // How a list or entry reaches the record.
    enum class ListWrite
    {
        Replace,
        SetValue
    };
    bool writeLabeled(Setter setter, ListWrite write, const QVariant &value, const QString &identifier,
                      const ContactRowPtr &contact);
    bool writeEntry(Setter setter, const QVariantMap &entry, const QString &listIdentifier,
                    const ContactRowPtr &contact);
    bool writeString(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                     QObject *sender);
    bool addToNewCustomItem(const QVariant &value, const QString &identifier, const ContactRowPtr &contact);
    void registerTextInverse(const QString &oldText, const QString &identifier, const ContactRowPtr &contact,
                             QObject *sender);
    // A labelled list as the record holds it: a built-in kind's list (nullopt while unread) or a
    // custom item's cached value.
    struct ListState
    {
        QString identifier;
        std::optional<QVariantList> held;
        QVariant cached;
    };
    void registerListRestore(Setter refresh, QNPerson &person, const QString &listIdentifier,
                             const ContactRowPtr &contact);
    void restoreList(Setter refresh, const ListState &state, const ContactRowPtr &contact);
    bool restorePhoto(const PhotoBytes &bytes, const ContactRowPtr &contact);

    bool hasCustomItem(const QString &identifier) const;
    // After a write: the changed mark and the broadcast.
    void finishWrite(const ContactRowPtr &contact);
    // After a write of the list setter: the changed mark, the grid and the window's edited mark.
    void finishListWrite(const ContactRowPtr &contact);

    void mergePerson(const ContactRowPtr &merged, const ContactRowPtr &target);
    QString mergedType(QNPerson &merged, QNPerson &old, const QString &identifier,
                       const QVariantList &customItems) const;
    void mergePhoto(QNPerson &merged, const ContactRowPtr &target);

    AddressBook &m_book;
    UndoManager &m_undoManager;
};
