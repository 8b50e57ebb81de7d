#pragma once

#include "AppFixture.h"
#include "FunnelFakes.h"
#include "addressbook/AddressBookFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/UndoManager.h"

#include <QBuffer>
#include <QImage>

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
