#pragma once

#include "GridFixture.h"

#include "grid/GridCommands.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/TestMode.h"
#include "ui/contracts/GridEditDelegate.h"

#include <QTest>

// The grid's edits reach the main view controller's funnel, as the shell wires them.
class FunnelEdits : public GridEditDelegate
{
public:
    explicit FunnelEdits(ViewController &view) : m_view(view) {}

    bool undoReplaceValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                          QObject *sender) override
    {
        return m_view.undoReplaceValue(value, identifier, contact, sender);
    }
    bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                 const ContactRowPtr &contact, QObject *sender) override
    {
        return m_view.undoReplaceLabeledValue(value, identifier, contact, sender);
    }
    bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                             const ContactRowPtr &contact, QObject *sender) override
    {
        return m_view.undoAddLabeledValue(value, identifier, contact, sender);
    }
    bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                             const ContactRowPtr &contact, QObject *sender) override
    {
        return m_view.undoDeleteLabeledValueForIdentifier(identifier, labelIndex, contact, sender);
    }
    bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact) override
    {
        return m_view.undoReplacePhoneticNameValue(phoneticName, contact);
    }
    bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) override
    {
        return m_view.undoReplaceBirthday(birthday, contact);
    }
    void undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group) override
    {
        m_view.undoAddContacts(rows, group);
    }
    void undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group, bool doUndo) override
    {
        m_view.undoDeleteContacts(rows, group, doUndo);
    }
    void addContact(QObject *) override { ++addContactCalls; }
    const GroupDictPtr &selectedGroupDict() const override { return m_view.selectedGroupDict(); }
    UndoManager *undoManager() const override { return m_view.undoManager(); }
    void setDocumentEdited(bool edited) override { m_view.setDocumentEdited(edited); }

    int addContactCalls = 0;

private:
    ViewController &m_view;
};

// A shown grid over one container whose top group holds the test's contacts, its commands wired
// to the view controller's funnel.
class GridCommandsFixture : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        TestMode::setEnabled(true);
        m_group = showAsTopGroup(*m_view, m_table);
        m_delegate.group = m_group;
        m_edits = std::make_unique<FunnelEdits>(*m_view);
        grid()->setEditDelegate(m_edits.get());
    }

    void TearDown() override
    {
        Alert::resetTestState();
        FilePanel::resetTestState();
        TestMode::setEnabled(false);
        GridFixture::TearDown();
        m_edits.reset();
    }

    // Shows the window with the rows of the contacts added so far.
    void showGrid()
    {
        grid()->updateTable();
        m_view->resize(900, 500);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        grid()->setDelegate(&m_delegate);
        grid()->setEditDelegate(m_edits.get());
        grid()->setContactTable(m_table);
        // Showing the window pushes the view controller's locked state.
        grid()->setEditState(true);
        grid()->updateTable();
        QCoreApplication::processEvents();
    }

    int column(const QString &identifier) const
    {
        return int(grid()->tableIdentifiers().indexOf(identifier));
    }

    // A right-click on the cell, as before a context menu.
    void rightClick(int row, const QString &identifier)
    {
        const QModelIndex index = model()->index(row, column(identifier));
        table()->scrollTo(index);
        QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, table()->visualRect(index).center());
        ASSERT_EQ(table()->clickedRow(), row);
        ASSERT_EQ(table()->clickedColumn(), column(identifier));
    }

    void selectRows(const QList<int> &rows)
    {
        QItemSelection selection;
        for (int row : rows)
            selection.select(model()->index(row, 0), model()->index(row, model()->columnCount() - 1));
        table()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    // The texts of a contact's values of a labelled field, in list order.
    static QStringList texts(const ContactRowPtr &contact, const QString &identifier)
    {
        QStringList values;
        for (const QVariant &entry : contact->person->labeledValueForIdentifier(identifier))
            values.append(entry.toMap().value(PersonKey::StringValue).toString());
        return values;
    }
    static void setAddress(const QNPersonPtr &person, const QString &city, const QString &street)
    {
        person->setValue(QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("home")},
                                                  {PersonKey::City, city},
                                                  {PersonKey::Street, street}}},
                         QStringLiteral("Address"));
    }
    // The first grid row of the contact.
    int rowOf(const ContactRowPtr &contact) const
    {
        const QList<SubContactRowPtr> rows = grid()->subContactTable();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row)->uniqueId == contact->uniqueId)
                return row;
        }
        return -1;
    }
    QList<int> rowsOf(const ContactRowPtr &contact) const
    {
        QList<int> found;
        const QList<SubContactRowPtr> rows = grid()->subContactTable();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row)->uniqueId == contact->uniqueId)
                found.append(row);
        }
        return found;
    }
    static QStringList labels(const ContactRowPtr &contact, const QString &identifier)
    {
        QStringList values;
        for (const QVariant &entry : contact->person->labeledValueForIdentifier(identifier))
            values.append(entry.toMap().value(PersonKey::Label).toString());
        return values;
    }

    GridCommands &commands() const { return grid()->commands(); }
    UndoManager &undoManager() const { return *m_view->undoManager(); }
    // The alert or sheet completion runs from the event loop.
    static void settle() { QCoreApplication::processEvents(); }

    GroupDictPtr m_group;
    std::unique_ptr<FunnelEdits> m_edits;
};
