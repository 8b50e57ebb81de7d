#pragma once

#include "ui/contracts/ContactInfoControllerDelegate.h"
#include "ui/contracts/SubContactRow.h"
#include "common/TestEnvironment.h"
#include "detail/ContactInfoController.h"
#include "ui/contracts/DetailEditDelegate.h"
#include "detail/DetailTableController.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"
#include "platform/StoreLabels.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/TestMode.h"

#include <QCoreApplication>
#include <QTableView>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Stands in for the main view controller's edit funnel: photos are written with their undo, every
// call is recorded.
class RecordingEditDelegate : public DetailEditDelegate, public ContactInfoControllerDelegate
{
public:
    bool undoReplaceValue(const QVariant &, const QString &identifier, const ContactRowPtr &,
                          QObject *) override
    {
        calls.append(QStringLiteral("undoReplaceValue ") + identifier);
        return true;
    }
    bool undoReplaceLabeledValue(const QVariant &, const QString &identifier, const ContactRowPtr &,
                                 QObject *) override
    {
        calls.append(QStringLiteral("undoReplaceLabeledValue ") + identifier);
        return true;
    }
    bool undoAddLabeledValue(const QVariantMap &, const QString &identifier, const ContactRowPtr &,
                             QObject *) override
    {
        calls.append(QStringLiteral("undoAddLabeledValue ") + identifier);
        return true;
    }
    bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64, const ContactRowPtr &,
                                             QObject *) override
    {
        calls.append(QStringLiteral("undoDeleteLabeledValueForIdentifier ") + identifier);
        return true;
    }
    bool undoReplaceNameValue(const QVariantMap &, const ContactRowPtr &) override
    {
        return record("undoReplaceNameValue");
    }
    bool undoReplacePhoneticNameValue(const QVariant &, const ContactRowPtr &) override
    {
        return record("undoReplacePhoneticNameValue");
    }
    bool undoReplaceBirthday(const QVariant &, const ContactRowPtr &) override
    {
        return record("undoReplaceBirthday");
    }
    bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) override
    {
        const std::optional<QImage> photo =
            image.isValid() ? std::optional<QImage>(image.value<QImage>()) : std::nullopt;
        record("undoReplacePhoto");
        photos.append(photo);
        QNPerson *person = contact->person.get();
        const auto oldImage = person->imageData();
        const auto oldThumbnail = person->thumbnailImageData();
        const ContactRowPtr kept = contact;
        undoManager.registerUndo([kept, oldImage, oldThumbnail] {
            kept->person->setImageData(oldImage);
            kept->person->setThumbnailImageData(oldThumbnail);
        });
        person->setPhoto(photo);
        return true;
    }
    QStringList groupNamesOfContact(const ContactRowPtr &) const override { return groupNames; }
    void rowSelectionDidChange(QObject *, const DetailRow &row) override { selectedRows.append(row); }
    void contactDidUpdate(const ContactRowPtr &contact, QObject *) override
    {
        updatedContacts.append(contact);
    }

    bool record(const char *call)
    {
        calls.append(QString::fromLatin1(call));
        return true;
    }

    UndoManager undoManager;
    QStringList calls;
    QList<std::optional<QImage>> photos;
    QList<DetailRow> selectedRows;
    QList<ContactRowPtr> updatedContacts;
    // The groups of every contact.
    QStringList groupNames;
    // What the broadcast does to the views, as the main view controller would.
    std::function<void()> onUpdate;
};

// Every test starts with empty defaults and nobody at the screen; records see the country "us"
// and sort by given name.
class DetailTest : public ::testing::Test
{
public:
    static StoreContact person(const QString &given, const QString &family)
    {
        StoreContact contact;
        contact.givenName = given;
        contact.familyName = family;
        return contact;
    }

protected:
    void SetUp() override
    {
        TestEnvironment::resetUserFolders();
        UserDefaults::standard().removePersistentDomain();
        TestMode::reset();
        TestMode::setEnabled(true);
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
    }

    void TearDown() override
    {
        QCoreApplication::processEvents();
        TestMode::reset();
        TestMode::setEnabled(false);
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    }

    static UserDefaults &defaults() { return UserDefaults::standard(); }

    // A grid row of a person made from the store contact.
    static SubContactRowPtr rowFor(const StoreContact &contact)
    {
        auto row = std::make_shared<SubContactRow>();
        row->person = std::make_shared<QNPerson>(contact);
        row->uniqueId = row->person->uniqueId();
        return row;
    }

    // The pane with its edits going to the recording delegate.
    std::unique_ptr<ContactInfoController> makePane()
    {
        auto pane = std::make_unique<ContactInfoController>(defaults());
        pane->setDelegate(&m_delegate);
        pane->setEditDelegate(&m_delegate);
        pane->setEditState(true);
        pane->view()->resize(420, 700);
        return pane;
    }

    static QStringList types(const DetailRowTable &rows)
    {
        QStringList result;
        for (const DetailRowPtr &row : rows)
            result.append(row->type);
        return result;
    }

    static int firstRowOf(const DetailRowTable &rows, const QString &type)
    {
        for (int i = 0; i < rows.size(); ++i) {
            if (rows.at(i)->type == type)
                return i;
        }
        return -1;
    }

    RecordingEditDelegate m_delegate;
};
