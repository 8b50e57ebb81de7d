#include "MergeFixture.h"

#include "ui/widgets/DetailRowMenu.h"
#include "platform/PhotoFitter.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/Workspace.h"
#include "ui/widgets/ImageViewDragAndDrop.h"

#include "common/TestEnvironment.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    return image;
}

class MergePhotoTest : public MergeFixture
{
protected:
    int photoRow() const { return firstRowOf(sheet->tableLeft(), "Photo"); }

    // The row menu of that cell, as a right click opens it.
    QList<QAction *> menu(MergeTable *table, int row, int column = 1) const
    {
        table->menuNeedsUpdate(row, column);
        QList<QAction *> actions;
        for (QAction *action : table->rowMenu()->actions()) {
            if (!action->isSeparator())
                actions.append(action);
        }
        return actions;
    }

    static QAction *item(const QList<QAction *> &actions, DetailRowMenu::Command command)
    {
        for (QAction *action : actions) {
            if (DetailRowMenu::commandOf(action) == command)
                return action;
        }
        return nullptr;
    }

    ImageViewDragAndDrop *well(MergeTable *table) const
    {
        return qobject_cast<ImageViewDragAndDrop *>(table->cellView(photoRow(), 1));
    }
};

TEST_F(MergePhotoTest, DeleteImageOnTheRightClearsOnlyTheRightPhoto)
{
    const ContactRowPtr ann = contact("Ann");
    const ContactRowPtr bob = contact("Bob");
    ann->person->setPhoto(picture(40, 40));
    bob->person->setPhoto(picture(30, 30));
    open({ann, bob});
    ASSERT_FALSE(sheet->doneButton()->isEnabled());

    const QList<QAction *> actions = menu(sheet->tableRight(), photoRow());
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.at(0)->text(), "Replace Image");
    QAction *deleteImage = item(actions, DetailRowMenu::Command::DeleteImage);
    ASSERT_TRUE(deleteImage && deleteImage->isEnabled());
    deleteImage->trigger();
    EXPECT_TRUE(right()->person->photo().isNull());
    EXPECT_EQ(left()->person->photo().size(), QSize(40, 40));
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    // The contacts themselves wait for Done.
    EXPECT_FALSE(bob->person->photo().isNull());
}

TEST_F(MergePhotoTest, PhotoItemsAreDisabledWhileLocked)
{
    open({contact("Ann"), contact("Bob")}, false);
    const QList<QAction *> actions = menu(sheet->tableLeft(), photoRow());
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions.at(0)->text(), "Add Image");
    EXPECT_FALSE(actions.at(0)->isEnabled());
    // The label column and an empty place give no menu.
    EXPECT_TRUE(menu(sheet->tableLeft(), photoRow(), 0).isEmpty());
    EXPECT_TRUE(menu(sheet->tableLeft(), -1, -1).isEmpty());
}

TEST_F(MergePhotoTest, AddImageFitsTheChosenPicture)
{
    open({contact("Ann"), contact("Bob")});
    const QString path = TestEnvironment::homePath() + QStringLiteral("/wide.png");
    ASSERT_TRUE(picture(2048, 1024).save(path));
    FilePanel::setNextPath(path);
    item(menu(sheet->tableLeft(), photoRow()), DetailRowMenu::Command::AddImage)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(left()->person->photo().size(), QSize(512, 256));
    EXPECT_TRUE(right()->person->photo().isNull());
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
}

TEST_F(MergePhotoTest, ADropOnTheLeftWellChangesOnlyTheLeftContact)
{
    open({contact("Ann"), contact("Bob")});
    ImageViewDragAndDrop *leftWell = well(sheet->tableLeft());
    ASSERT_TRUE(leftWell && leftWell->isEditable());
    QMimeData data;
    data.setImageData(picture(300, 900));
    // A drop reaches the widget that took the drag's entry.
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(leftWell, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(leftWell, &drop);
    EXPECT_EQ(left()->person->photo().size(), QSize(171, 512));
    EXPECT_TRUE(right()->person->photo().isNull());

    // Locked, the wells take nothing.
    nextEvent();
    sheet->undoManager().undo();
    sheet->editButton()->click();
    EXPECT_FALSE(well(sheet->tableRight())->isEditable());
}

TEST_F(MergePhotoTest, DeleteItemRemovesTheClickedEntryWithoutAsking)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Email", {"a@x", "b@x"});
    ann->person->setBirthdayValue(QVariantMap{{"value", QVariantMap{{"year", 1990}, {"month", 4}, {"day", 2}}}});
    open({ann, contact("Bob")}, false);
    MergeTable *table = sheet->tableLeft();
    const int email = firstRowOf(table, "Email");

    QAction *deleteItem = item(menu(table, email + 1), DetailRowMenu::Command::DeleteItem);
    ASSERT_TRUE(deleteItem && deleteItem->isEnabled());
    deleteItem->trigger();
    ASSERT_EQ(left()->person->labeledValueForIdentifier("Email").size(), 1);
    EXPECT_EQ(left()->person->labeledValueForIdentifier("Email").at(0).toMap().value("value"), "a@x");

    // The right side's filler row holds nothing to delete.
    EXPECT_FALSE(item(menu(sheet->tableRight(), email), DetailRowMenu::Command::DeleteItem));
    item(menu(table, firstRowOf(table, "Birthday")), DetailRowMenu::Command::DeleteItem)->trigger();
    EXPECT_FALSE(left()->person->birthdayValue()->contains("value"));
}

TEST_F(MergePhotoTest, AddItemAddsADefaultPhoneAndOpensAnEditorForAnAddress)
{
    open({contact("Ann"), contact("Bob")});
    MergeTable *table = sheet->tableRight();
    item(menu(table, firstRowOf(table, "Phone")), DetailRowMenu::Command::InsertItem)->trigger();
    const QVariantList phones = right()->person->labeledValueForIdentifier("Phone");
    ASSERT_EQ(phones.size(), 1);
    EXPECT_EQ(phones.at(0).toMap().value("label"), "home");
    EXPECT_EQ(phones.at(0).toMap().value("value"), "123");
    EXPECT_TRUE(sheet->doneButton()->isEnabled());

    // Without editors nothing opens and nothing is added before an editor's Done.
    item(menu(table, firstRowOf(table, "Address")), DetailRowMenu::Command::InsertItem)->trigger();
    EXPECT_TRUE(right()->person->labeledValueForIdentifier("Address").isEmpty());
}

TEST_F(MergePhotoTest, CallPhoneOpensTheNumber)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"(03) 1234 5678"});
    open({ann, contact("Bob")});
    QList<QUrl> opened;
    Workspace::setOpener([&opened](const QUrl &url) {
        opened.append(url);
        return true;
    });
    item(menu(sheet->tableLeft(), firstRowOf(sheet->tableLeft(), "Phone")), DetailRowMenu::Command::OpenValue)
        ->trigger();
    Workspace::setOpener({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().toString().startsWith("tel:"));
}

} // namespace
