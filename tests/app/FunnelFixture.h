#pragma once

#include "AppFixture.h"
#include "FunnelFakes.h"

#include "addressbook/AddressBookLoader.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/UndoManager.h"

#include <QBuffer>
#include <QImage>

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

// A main view over recording panes, outside any window.
class FunnelFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
        view = std::make_unique<ViewController>(defaults(), panes.make(log));
        view->setWindowTitle(QStringLiteral("Contacts[*]"));
    }

    void TearDown() override
    {
        view.reset();
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
        AppFixture::TearDown();
    }

    UndoManager &undoManager() { return *view->undoManager(); }
    // What one user event makes: the steps before it are closed.
    void nextEvent() { undoManager().closeAutomaticGroup(); }

    CallLog log;
    FakePanes panes;
    std::unique_ptr<ViewController> view;
};
