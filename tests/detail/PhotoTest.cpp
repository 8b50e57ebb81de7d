#include "DetailFixture.h"

#include "ui/widgets/ImageViewDragAndDrop.h"
#include "platform/PhotoFitter.h"
#include "platform/Dispatch.h"
#include "platform/Semaphore.h"
#include "platform/widgets/FilePanel.h"

#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>

namespace {

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    return image;
}

// Sends a drag of the picture over the well and drops it; answers whether the well took the drag.
bool dropOn(ImageViewDragAndDrop *well, const QImage &image)
{
    QMimeData data;
    data.setImageData(image);
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(well, &enter);
    const bool entered = enter.isAccepted();
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(well, &drop);
    return entered;
}

} // namespace

class PhotoTest : public DetailTest
{
protected:
    void SetUp() override
    {
        DetailTest::SetUp();
        m_pane = makePane();
        m_row = rowFor(person(QStringLiteral("Charlotte"), QStringLiteral("Lucas")));
        m_pane->setContact(m_row);
        m_delegate.onUpdate = [this] { m_pane->updateTable(); };
    }

    void TearDown() override
    {
        PhotoFitter::setWaitMillisecondsForTesting(-1);
        PhotoFitter::setWorkerHookForTesting({});
        DetailTest::TearDown();
    }

    DetailTableController &table() { return *m_pane->detailTable(); }
    int photoRow() { return firstRowOf(table().table(), QStringLiteral("Photo")); }
    ImageViewDragAndDrop *well()
    {
        return qobject_cast<ImageViewDragAndDrop *>(table().cellView(photoRow(), 1));
    }

    std::unique_ptr<ContactInfoController> m_pane;
    SubContactRowPtr m_row;
};

TEST_F(PhotoTest, DroppedPictureIsFittedAndBecomesThePhoto)
{
    ASSERT_TRUE(well());
    EXPECT_TRUE(dropOn(well(), picture(2000, 1000)));
    ASSERT_EQ(m_delegate.photos.size(), 1);
    EXPECT_EQ(m_delegate.photos.first()->size(), QSize(512, 256));
    EXPECT_EQ(m_row->person->photo().size(), QSize(512, 256));
    EXPECT_EQ(m_delegate.updatedContacts, QList<ContactRowPtr>{m_row});
    EXPECT_FALSE(well()->isHighlighted());
}

TEST_F(PhotoTest, LockedWellRefusesDrops)
{
    table().setEditState(false);
    table().updateTable();
    EXPECT_FALSE(dropOn(well(), picture(100, 100)));
    EXPECT_TRUE(m_delegate.photos.isEmpty());
    EXPECT_TRUE(m_row->person->photo().isNull());
}

TEST_F(PhotoTest, DeletingThePhotoIsUndoable)
{
    m_row->person->setPhoto(picture(64, 32));
    table().updateTable();
    table().deleteImage();
    EXPECT_TRUE(m_row->person->photo().isNull());
    EXPECT_EQ(table().selectedRows(), QList<int>{photoRow()});
    EXPECT_EQ(m_delegate.updatedContacts.size(), 1);

    m_delegate.undoManager.undo();
    EXPECT_EQ(m_row->person->photo().size(), QSize(64, 32));
}

TEST_F(PhotoTest, PhotoRowGrowsAndShrinksWithinBounds)
{
    const double height = table().rowHeight();
    EXPECT_EQ(table().tableView()->rowHeight(photoRow()), int(3 * height + 2.0));
    for (int i = 0; i < 25; ++i)
        table().iconSizeBigger();
    EXPECT_EQ(table().iconRowCount(), 20);
    for (int i = 0; i < 25; ++i)
        table().iconSizeSmaller();
    EXPECT_EQ(table().iconRowCount(), 1);
    EXPECT_EQ(table().tableView()->rowHeight(photoRow()), int(height));
}

TEST_F(PhotoTest, PictureFileBecomesThePhotoAndAFileThatIsNoPictureLeavesIt)
{
    const QString picturePath = TestEnvironment::homePath() + QStringLiteral("/wide.png");
    ASSERT_TRUE(picture(1024, 512).save(picturePath));
    FilePanel::setNextPath(picturePath);
    table().selectRow(0);
    table().addImage();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_row->person->photo().size(), QSize(512, 256));
    EXPECT_EQ(table().selectedRows(), QList<int>{photoRow()});

    const QString textPath = TestEnvironment::homePath() + QStringLiteral("/notes.png");
    QFile text(textPath);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture here");
    text.close();
    FilePanel::setNextPath(textPath);
    table().addImage();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_delegate.photos.size(), 1);
    EXPECT_EQ(m_row->person->photo().size(), QSize(512, 256));
}

// The caller stops waiting; the worker finishes later into its own memory and is not read.
TEST_F(PhotoTest, LateFittingIsDroppedWhole)
{
    Semaphore release;
    PhotoFitter::setWaitMillisecondsForTesting(20);
    PhotoFitter::setWorkerHookForTesting([&release] { release.wait(); });
    EXPECT_FALSE(PhotoFitter::fitOnWorker(picture(3000, 1000)));
    EXPECT_FALSE(PhotoFitter::loadAndFitOnWorker(QStringLiteral("/nonexistent.png")));
    release.signal();
    release.signal();
    Dispatch::pool().waitForDone();

    // A drop whose fitting came late still sets a photo, which the record fits itself.
    PhotoFitter::setWorkerHookForTesting([] { QThread::msleep(100); });
    EXPECT_TRUE(dropOn(well(), picture(2000, 1000)));
    EXPECT_EQ(m_delegate.photos.first()->size(), QSize(2000, 1000));
    EXPECT_EQ(m_row->person->photo().size(), QSize(512, 256));
    Dispatch::pool().waitForDone();
}
