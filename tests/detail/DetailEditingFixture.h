#pragma once

#include "DetailFixture.h"

#include "addressbook/AddressBook.h"
#include "addressbook/EditFunnel.h"
#include "detail/DetailEditorPresenter.h"
#include "detail/DetailInPlaceEditor.h"
#include "detail/DetailItemCommands.h"
#include "detail/DetailTableEditing.h"
#include "detail/DetailTableHost.h"
#include "editors/ValueEditors.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/Popover.h"

#include <QMenu>
#include <QTableView>
#include <QTest>

// The main view controller's part in an edit: the edit funnel of a real address book, and the
// refresh the change broadcast gives the detail table after every change.
class FunnelDelegate : public DetailEditDelegate, public ContactInfoControllerDelegate
{
public:
    FunnelDelegate()
    {
        QObject::connect(&book, &AddressBook::contactDidUpdate, [this] { refreshViews(); });
    }

    bool undoReplaceValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                          QObject *sender) override
    {
        return book.funnel().undoReplaceValue(value, identifier, contact, sender);
    }
    bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                                 QObject *sender) override
    {
        return book.funnel().undoReplaceLabeledValue(value, identifier, contact, sender);
    }
    bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier, const ContactRowPtr &contact,
                             QObject *sender) override
    {
        return book.funnel().undoAddLabeledValue(value, identifier, contact, sender);
    }
    bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                             const ContactRowPtr &contact, QObject *sender) override
    {
        return book.funnel().undoDeleteLabeledValueForIdentifier(identifier, labelIndex, contact, sender);
    }
    bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) override
    {
        return book.funnel().undoReplaceNameValue(name, contact);
    }
    bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact) override
    {
        return book.funnel().undoReplacePhoneticNameValue(phoneticName, contact);
    }
    bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) override
    {
        return book.funnel().undoReplaceBirthday(birthday, contact);
    }
    bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) override
    {
        return book.funnel().undoReplacePhoto(image, contact);
    }
    QStringList groupNamesOfContact(const ContactRowPtr &contact) const override
    {
        return book.groupNamesOfContact(contact);
    }
    void rowSelectionDidChange(QObject *, const DetailRow &) override {}
    void contactDidUpdate(const ContactRowPtr &, QObject *) override
    {
        ++updates;
        refreshViews();
    }

    void refreshViews()
    {
        if (refresh)
            refresh();
    }

    AddressBook book;
    int updates = 0;
    std::function<void()> refresh;
};

// A second host of the table, as the detail popover is: its own sender, the popover's row menu.
class TestPopoverHost : public DetailTableHost
{
public:
    DetailEditDelegate *editDelegate() const override { return delegate; }
    QObject *editSender() override { return &sender; }
    void sendContactDidUpdate() override
    {
        ++updates;
        if (table)
            table->updateTable();
    }
    DetailRowMenu::Variant rowMenuVariant() const override { return DetailRowMenu::Variant::Popover; }

    DetailEditDelegate *delegate = nullptr;
    DetailTableController *table = nullptr;
    QObject sender;
    int updates = 0;
};

// The pane over a contact of three phones, two e-mail addresses, an address and a birthday, its
// edits going through a real funnel.
class DetailEditingTest : public DetailTest
{
protected:
    void SetUp() override
    {
        DetailTest::SetUp();
        DetailEditorPresenter::setValueEditorFactory(&m_editors);
        Alert::resetTestState();
        m_pane = std::make_unique<ContactInfoController>(defaults());
        m_pane->setDelegate(&m_funnel);
        m_pane->setEditDelegate(&m_funnel);
        m_pane->setEditState(true);
        m_pane->view()->resize(520, 900);
        m_pane->view()->show();
        m_funnel.refresh = [this] { m_pane->updateTable(); };
        m_row = rowFor(contact());
        m_pane->setContact(m_row);
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        if (Popover *popover = m_pane->popover())
            popover->close();
        m_pane.reset();
        DetailEditorPresenter::setValueEditorFactory(nullptr);
        Alert::resetTestState();
        DetailTest::TearDown();
    }

    static StoreContact contact()
    {
        StoreContact contact = DetailTest::person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        contact.organizationName = QStringLiteral("Acme");
        contact.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("111")},
                                {QString(), StoreLabel::Work, QStringLiteral("222")},
                                {QString(), StoreLabel::Other, QStringLiteral("333")}};
        contact.emailAddresses = {{QString(), StoreLabel::Home, QStringLiteral("ann@example.org")},
                                  {QString(), StoreLabel::Work, QStringLiteral("lee@example.org")}};
        contact.postalAddresses = {{QString(),
                                    StoreLabel::Home,
                                    {QStringLiteral("1 Main St"), QStringLiteral("Springfield"),
                                     QStringLiteral("IL"), QStringLiteral("62701"), QStringLiteral("USA"),
                                     QStringLiteral("us")}}};
        contact.birthday = DateComponents{1980, 5, 17};
        return contact;
    }

    DetailTableController &table() { return *m_pane->detailTable(); }
    DetailTableEditing &editing() { return table().editing(); }
    QNPerson &record() { return *m_row->person; }
    int rowOf(const QString &type, int nth = 0)
    {
        for (int row = 0; row < table().table().size(); ++row) {
            if (table().table().at(row)->type == type && nth-- == 0)
                return row;
        }
        return -1;
    }
    // A double-click on the row's value cell, as the user gives it.
    void doubleClickValue(const QString &type)
    {
        QTableView *view = table().tableView();
        const QRect cell = view->visualRect(view->model()->index(rowOf(type), 1));
        // The first click of a double-click comes as a press of its own.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    QStringList phones()
    {
        QStringList values;
        for (const QVariant &entry : record().labeledValueForIdentifier(QStringLiteral("Phone")))
            values.append(entry.toMap().value(PersonKey::Value).toString());
        return values;
    }
    // The titles of the row menu over that cell, disabled ones in brackets.
    QStringList menuTitles(int row, int column = 1)
    {
        QMenu menu;
        table().itemCommands().menuNeedsUpdate(&menu, row, column);
        QStringList titles;
        for (QAction *action : menu.actions()) {
            if (action->isSeparator())
                titles.append(QStringLiteral("-"));
            else
                titles.append(action->isEnabled() ? action->text() : QLatin1Char('[') + action->text() + QLatin1Char(']'));
        }
        return titles;
    }

    ValueEditors m_editors;
    FunnelDelegate m_funnel;
    std::unique_ptr<ContactInfoController> m_pane;
    SubContactRowPtr m_row;
};
