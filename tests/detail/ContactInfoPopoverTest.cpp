#include "DetailFixture.h"

#include "addressbook/DefaultsKey.h"
#include "detail/ContactInfoPopover.h"
#include "detail/ContactInfoWindowController.h"
#include "detail/DetailInPlaceEditor.h"
#include "detail/DetailTableEditing.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactInfoPopoverDelegate.h"
#include "ui/widgets/SeparatorBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The popover's delegate: edits are recorded by the detail tests' delegate, close notices here.
class PopoverDelegate : public ContactInfoPopoverDelegate
{
public:
    explicit PopoverDelegate(RecordingEditDelegate &edits) : m_edits(edits) {}

    bool undoReplaceValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                          QObject *sender) override
    {
        return m_edits.undoReplaceValue(value, identifier, contact, sender);
    }
    bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                 const ContactRowPtr &contact, QObject *sender) override
    {
        return m_edits.undoReplaceLabeledValue(value, identifier, contact, sender);
    }
    bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier, const ContactRowPtr &contact,
                             QObject *sender) override
    {
        return m_edits.undoAddLabeledValue(value, identifier, contact, sender);
    }
    bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                             const ContactRowPtr &contact, QObject *sender) override
    {
        deletedLabelIndexes.append(labelIndex);
        return m_edits.undoDeleteLabeledValueForIdentifier(identifier, labelIndex, contact, sender);
    }
    bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) override
    {
        names.append(name);
        return m_edits.undoReplaceNameValue(name, contact);
    }
    bool undoReplacePhoneticNameValue(const QVariant &name, const ContactRowPtr &contact) override
    {
        return m_edits.undoReplacePhoneticNameValue(name, contact);
    }
    bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) override
    {
        return m_edits.undoReplaceBirthday(birthday, contact);
    }
    bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) override
    {
        return m_edits.undoReplacePhoto(image, contact);
    }
    QStringList groupNamesOfContact(const ContactRowPtr &contact) const override
    {
        return m_edits.groupNamesOfContact(contact);
    }
    void rowSelectionDidChange(QObject *sender, const DetailRow &row) override
    {
        m_edits.rowSelectionDidChange(sender, row);
    }
    void contactDidUpdate(const ContactRowPtr &contact, QObject *) override { updated.append(contact); }
    void detachedWindowDidClose(const ClosedWindow &closed) override { closes.append(closed.uniqueId); }

    QStringList closes;
    QList<ContactRowPtr> updated;
    QList<QVariantMap> names;
    QList<qint64> deletedLabelIndexes;

private:
    RecordingEditDelegate &m_edits;
};

} // namespace

class ContactInfoPopoverTest : public DetailTest
{
protected:
    void SetUp() override
    {
        DetailTest::SetUp();
        StoreContact contact = person("Ann", "Lee");
        contact.phoneNumbers = {{{}, "home", "1"}, {{}, "work", "2"}, {{}, "other", "3"}};
        row = rowFor(contact);
    }

    // In a shown popover, as the grid opens it.
    ContactInfoPopover *openInPopover()
    {
        m_anchor.resize(400, 300);
        m_anchor.show();
        m_popover = new Popover(&m_anchor);
        m_popover->setBehavior(Popover::Behavior::Semitransient);
        auto *content = new ContactInfoPopover(defaults());
        content->setParentPopover(m_popover);
        m_popover->setContentWidget(content);
        content->setContact(row);
        content->setDelegate(&m_popoverDelegate);
        content->setMyUndoManager(&m_delegate.undoManager);
        content->setParentWindow(&m_anchor);
        content->setEditState(true);
        m_popover->showRelativeToRect(QRect(0, 0, 10, 10), &m_anchor, Popover::Edge::MaxX);
        return content;
    }

    int rowOf(ContactInfoPopover *popover, const QString &type, int skip = 0) const
    {
        const DetailRowTable &rows = popover->detailTable()->table();
        for (int i = 0; i < rows.size(); ++i) {
            if (rows.at(i)->type == type && skip-- == 0)
                return i;
        }
        return -1;
    }

    void pressDelete(ContactInfoPopover *popover, int row)
    {
        popover->detailTable()->selectRow(row);
        QTest::keyClick(popover->detailTable()->tableView(), Qt::Key_Delete);
    }

    SubContactRowPtr row;
    // Outlives the popover, which reports its closing to it.
    PopoverDelegate m_popoverDelegate{m_delegate};
    QWidget m_anchor;
    QPointer<Popover> m_popover;
};

TEST_F(ContactInfoPopoverTest, TheEditButtonFollowsTheEditStateAndTurnsTheSeparatorRed)
{
    ContactInfoPopover *popover = openInPopover();
    EXPECT_EQ(popover->contactNameField()->text(), "Ann Lee");
    EXPECT_EQ(popover->editButton()->text(), "Lock");
    EXPECT_TRUE(popover->editButton()->isChecked());
    popover->editButton()->click();
    EXPECT_FALSE(popover->editState());
    EXPECT_EQ(popover->editButton()->text(), "Edit");
}

TEST_F(ContactInfoPopoverTest, OkTellsTheDelegateTwiceAndClosesThePopover)
{
    ContactInfoPopover *popover = openInPopover();
    popover->okButton()->click();
    EXPECT_FALSE(m_popover->isShown());
    EXPECT_EQ(m_popoverDelegate.closes, (QStringList{row->uniqueId, row->uniqueId}));
}

TEST_F(ContactInfoPopoverTest, WithoutADelegateOkDoesNothing)
{
    ContactInfoPopover *popover = openInPopover();
    popover->setDelegate(nullptr);
    popover->okButton()->click();
    EXPECT_TRUE(m_popover->isShown());
}

TEST_F(ContactInfoPopoverTest, DeleteRemovesTheSelectedPhoneByItsLabelIndex)
{
    row->person->setValue(QVariantList{QVariantMap{{"label", "home"}, {"value", "1"}, {"labelIndex", 0}},
                                       QVariantMap{{"label", "work"}, {"value", "2"}, {"labelIndex", 4}}},
                          "Phone");
    ContactInfoPopover *popover = openInPopover();
    pressDelete(popover, rowOf(popover, "Phone", 1));
    EXPECT_EQ(m_popoverDelegate.deletedLabelIndexes, QList<qint64>{4});
}

TEST_F(ContactInfoPopoverTest, DeleteEmptiesANamePartAndSkipsGroupsAndTheLockedTable)
{
    ContactInfoPopover *popover = openInPopover();
    const int first = rowOf(popover, "Name");
    ASSERT_GE(first, 0);
    pressDelete(popover, first);
    ASSERT_EQ(m_popoverDelegate.names.size(), 1);
    const QString part = popover->detailTable()->table().at(first)->label.value_or(QString());
    EXPECT_EQ(m_popoverDelegate.names.first().value(part).toString(), "");

    m_delegate.calls.clear();
    if (const int groups = rowOf(popover, "Groups"); groups >= 0)
        pressDelete(popover, groups);
    popover->editButton()->click();
    pressDelete(popover, rowOf(popover, "Phone"));
    EXPECT_TRUE(m_delegate.calls.isEmpty());
}

TEST_F(ContactInfoPopoverTest, UndoFollowsTheMainHistoryAndSetsTheEditedMark)
{
    ContactInfoPopover *popover = openInPopover();
    int undone = 0;
    m_delegate.undoManager.registerUndo([&undone] { ++undone; });
    m_delegate.undoManager.closeAutomaticGroup();
    popover->undo();
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(m_anchor.isWindowModified());
}

TEST_F(ContactInfoPopoverTest, ThePhotoRowHeightIsKeptInTheDefaults)
{
    defaults().setInteger(0, DefaultsKey::IconRowCount);
    ContactInfoPopover *popover = openInPopover();
    EXPECT_EQ(popover->detailTable()->iconRowCount(), 3);
    popover->detailTable()->iconSizeBigger();
    const int bigger = popover->detailTable()->iconRowCount();
    m_popover->close();
    EXPECT_EQ(defaults().integerForKey(DefaultsKey::IconRowCount), bigger);
}

TEST_F(ContactInfoPopoverTest, AContactThatLeavesTheTableClosesThePopoverUnwritten)
{
    ContactInfoPopover *popover = openInPopover();
    DetailTableEditing &editing = popover->detailTable()->editing();
    ASSERT_TRUE(editing.editRowInPlace(rowOf(popover, "Note")));
    QTest::keyClicks(editing.inPlaceEditor(), QStringLiteral("tea"));

    EXPECT_FALSE(popover->contactsDidLeave({QStringLiteral("someone else")}));
    EXPECT_TRUE(m_popover->isShown());
    EXPECT_TRUE(popover->contactsDidLeave({row->uniqueId}));
    EXPECT_FALSE(m_popover->isShown());
    EXPECT_EQ(m_popoverDelegate.closes, QStringList{row->uniqueId});
    EXPECT_TRUE(m_delegate.calls.isEmpty());
    EXPECT_TRUE(m_popoverDelegate.updated.isEmpty());
}

TEST_F(ContactInfoPopoverTest, AContactThatLeavesTheTableClosesItsTornOffWindow)
{
    auto *controller = new ContactInfoWindowController(defaults());
    QPointer<QWidget> window = controller->window();
    ContactInfoPopover *content = controller->popover();
    content->setDelegate(&m_popoverDelegate);
    content->setContact(row);
    content->setParentWindow(window);
    window->show();

    EXPECT_TRUE(content->contactsDidLeave({row->uniqueId}));
    EXPECT_TRUE(window.isNull() || !window->isVisible());
    EXPECT_EQ(m_popoverDelegate.closes, QStringList{row->uniqueId});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}
