#pragma once

#include "addressbook/AddressBook.h"
#include "addressbook/AddressBookLoader.h"
#include "addressbook/EditFunnel.h"
#include "common/TestEnvironment.h"
#include "model/QNPerson.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/UndoManager.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QStringList>

#include <functional>
#include <gtest/gtest.h>

inline QByteArray pngOf(const QColor &color, const QSize &size = {4, 4})
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A store contact with a value of most kinds, as the store hands it over.
inline StoreContact sampleContact(const QString &givenName)
{
    StoreContact contact;
    contact.givenName = givenName;
    contact.familyName = QStringLiteral("Lee");
    contact.organizationName = QStringLiteral("Acme");
    contact.phoneticGivenName = QStringLiteral("an");
    contact.birthday = DateComponents{1980, 5, 17};
    contact.phoneNumbers = {{{}, QStringLiteral("_$!<Home>!$_"), QStringLiteral("111")},
                            {{}, QStringLiteral("_$!<Work>!$_"), QStringLiteral("222")}};
    contact.emailAddresses = {{{}, QStringLiteral("_$!<Home>!$_"), QStringLiteral("ann@example.com")}};
    contact.postalAddresses = {
        {{},
         QStringLiteral("_$!<Home>!$_"),
         {QStringLiteral("1 Main St"), QStringLiteral("Springfield"), QStringLiteral("IL"),
          QStringLiteral("62701"), QStringLiteral("USA"), QStringLiteral("us")}}};
    contact.imageData = pngOf(Qt::red);
    return contact;
}

inline ContactRowPtr rowOf(const StoreContact &contact)
{
    return AddressBookLoader::createContactFromCNContact(contact);
}

// An address book without a window; `told` lists its change signals in order ("contact", "table").
class AddressBookFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::resetUserFolders();
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
        book = std::make_unique<AddressBook>();
        QObject::connect(book.get(), &AddressBook::contactDidUpdate, [this] { tell("contact"); });
        QObject::connect(book.get(), &AddressBook::tableChanged, [this] { tell("table"); });
    }

    void TearDown() override
    {
        book.reset();
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    }

    void tell(const QString &what)
    {
        told.append(what);
        if (onTell)
            onTell();
    }

    EditFunnel &funnel() { return book->funnel(); }
    UndoManager &undoManager() { return *book->undoManager(); }
    // What one user event makes: the steps before it are closed.
    void nextEvent() { undoManager().closeAutomaticGroup(); }

    std::unique_ptr<AddressBook> book;
    QStringList told;
    std::function<void()> onTell;
};
