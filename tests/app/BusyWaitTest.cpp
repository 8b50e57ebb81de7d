#include "SaveFixture.h"

#include "addressbook/UndoGroup.h"
#include "app/BusyWait.h"
#include "platform/BusySign.h"
#include "platform/StoreConnection.h"
#include "print/AddressListTab.h"
#include "print/PrintWindow.h"
#include "ui/widgets/ProgressIndicator.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QListView>
#include <QPixmapCache>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <atomic>

namespace {

// Timers (the spinner's, the window's repaints) go on while the work runs; past the delay the
// work is told busy, and not busy once it ends.
TEST(BusyWaitTest, TheEventLoopGoesOnAndTheBusyMarkFollowsTheWork)
{
    BusyWait::setBusyDelayForTesting(20);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(5);
    QStringList told;
    std::atomic<bool> workDone = false;
    BusyWait::run(
        [&workDone] {
            QThread::msleep(200);
            workDone = true;
        },
        [&told, &workDone](bool busy) { told.append(QStringLiteral("%1 %2").arg(busy).arg(workDone)); });
    EXPECT_TRUE(workDone);
    EXPECT_GT(ticks, 3);
    EXPECT_EQ(told, QStringList({"1 0", "0 1"}));
    BusyWait::setBusyDelayForTesting(-1);
}

TEST(BusyWaitTest, ShortWorkShowsNoSpinner)
{
    int told = 0;
    BusyWait::run([] {}, [&told](bool) { ++told; });
    EXPECT_EQ(told, 0);
}

// Saving shows the spinner while the address book is read again, and ends with it hidden.
class SaveShowsProgressTest : public SaveFixture, public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            ++spinnerShown;
        if (event->type() == QEvent::Hide)
            ++spinnerHidden;
        return false;
    }
    bool isBusySignShown() const
    {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        return view()->progressIndicator()->isVisible() && cursor && cursor->shape() == Qt::WaitCursor;
    }
    // A write transaction of another program on the store, which the test commits.
    StoreConnection *lockStoreAsAnotherProgram()
    {
        auto other = StoreConnection::open(ContactStore::defaultPath(), StoreConnection::OpenMode::Existing);
        if (!other.ok() || !other.value->exec(QStringLiteral("BEGIN IMMEDIATE")).ok())
            return nullptr;
        m_otherProgram = std::move(other.value);
        return m_otherProgram.get();
    }
    int spinnerShown = 0;
    int spinnerHidden = 0;
    std::unique_ptr<StoreConnection> m_otherProgram;
};

TEST_F(SaveShowsProgressTest, TheSpinnerTurnsWhileTheSaveReadsTheStoreAgain)
{
    BusySign::setDelayForTesting(0);
    window->show();
    view()->progressIndicator()->installEventFilter(this);
    ASSERT_TRUE(view()->undoReplaceValue(QStringLiteral("met at the fair"), QStringLiteral("Note"),
                                         row(top(), "Ann"), nullptr));
    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_GE(spinnerShown, 1);
    // Until the window answers again.
    QCoreApplication::processEvents();
    EXPECT_FALSE(view()->progressIndicator()->isVisible());
    EXPECT_EQ(row(top(), "Ann")->person->stringValueForIdentifier("Note"), "met at the fair");
    BusySign::setDelayForTesting(-1);
}

// Another program holds the store's write lock: the save waits for it on the pool, so the window
// goes on (the timer that ends the other transaction fires meanwhile) and the save then goes through.
TEST_F(SaveShowsProgressTest, TheSaveWaitsForTheStoreWithoutFreezingTheWindow)
{
    BusySign::setDelayForTesting(0);
    window->show();
    view()->progressIndicator()->installEventFilter(this);
    ASSERT_TRUE(view()->undoReplaceValue(QStringLiteral("met at the fair"), QStringLiteral("Note"),
                                         row(top(), "Ann"), nullptr));
    StoreConnection *other = lockStoreAsAnotherProgram();
    ASSERT_TRUE(other);
    bool released = false;
    QTimer::singleShot(300, [&] { released = other->exec(QStringLiteral("COMMIT")).ok(); });
    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_TRUE(released);
    EXPECT_GE(spinnerShown, 1);
    EXPECT_EQ(ContactStore().unifiedContact(ann, {StoreKey::Note}).value.note, "met at the fair");
    BusySign::setDelayForTesting(-1);
}

// Save builds its request, waits for the store, reads the contacts back and shows them: past the
// delay the busy sign shows once, pointer included, stays through every step and the waits between
// them, and goes once the window answers again.
TEST_F(SaveShowsProgressTest, ALongSaveShowsOneBusySignUntilTheWindowAnswers)
{
    BusySign::setDelayForTesting(50);
    window->show();
    QCoreApplication::processEvents();
    view()->progressIndicator()->installEventFilter(this);
    ASSERT_TRUE(view()->undoReplaceValue(QStringLiteral("met at the fair"), QStringLiteral("Note"),
                                         row(top(), "Ann"), nullptr));
    StoreConnection *other = lockStoreAsAnotherProgram();
    ASSERT_TRUE(other);
    bool shownWhileWaiting = false;
    QTimer::singleShot(300, [&] {
        shownWhileWaiting = isBusySignShown();
        other->exec(QStringLiteral("COMMIT"));
    });
    window->validateMenuItems();
    window->menuItem(MenuCommand::SaveDocument)->trigger();
    EXPECT_FALSE(view()->isDocumentEdited());
    EXPECT_TRUE(shownWhileWaiting);
    EXPECT_TRUE(isBusySignShown());
    EXPECT_EQ(spinnerShown, 1);
    EXPECT_EQ(spinnerHidden, 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view()->progressIndicator()->isVisible());
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    EXPECT_EQ(spinnerShown, 1);
    EXPECT_EQ(spinnerHidden, 1);
    BusySign::setDelayForTesting(-1);
}

// A close from the window system while a save waits for the store is answered after the save and
// its reload: no question, so no second save of the new contact, and the window then closes.
TEST_F(SaveShowsProgressTest, ACloseDuringASaveIsAnsweredOnceItEnds)
{
    window->show();
    view()->undoAddContacts({created("Dora")}, top());
    StoreConnection *other = lockStoreAsAnotherProgram();
    ASSERT_TRUE(other);
    bool closeSent = false;
    QTimer::singleShot(50, [&] {
        QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent);
        closeSent = true;
    });
    QTimer::singleShot(300, [&] { other->exec(QStringLiteral("COMMIT")); });
    Alert::setNextAnswer(Alert::FirstButton);
    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_TRUE(closeSent);
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
    EXPECT_TRUE(spinUntil([this] { return !window->isVisible(); }));
    EXPECT_EQ(storeNames(), QStringList({"Ann", "Bob", "Carl", "Dora"}));
}

// A command over many contacts runs on the main thread, where no timer fires: past the delay the
// spinner is drawn from within the work, and taken away once the event loop waits again.
TEST_F(SaveShowsProgressTest, LongWorkOnTheMainThreadShowsTheSpinnerFromWithin)
{
    BusySign::setDelayForTesting(0);
    window->show();
    QCoreApplication::processEvents();
    view()->progressIndicator()->installEventFilter(this);
    {
        UndoGroup group(*view()->undoManager());
        for (const ContactRowPtr &contact : std::as_const(*top()->contactTable))
            view()->undoReplaceValue(QStringLiteral("long"), QStringLiteral("Note"), contact, nullptr);
        EXPECT_EQ(spinnerShown, 1);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(view()->progressIndicator()->isVisible());
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    BusySign::setDelayForTesting(-1);
}

// The print window lays out and draws the selected contacts on the main thread when it opens and
// after every change in it: the busy sign shows from within that work (the spinner over the print
// window too, which hides the main window's) and goes once the window answers again.
TEST_F(SaveShowsProgressTest, ThePrintWindowShowsTheBusySignWhileItLaysOutThePages)
{
    BusySign::setDelayForTesting(0);
    window->show();
    view()->contactsViewController()->selectRowIndexesWithContacts(*top()->contactTable);
    window->validateMenuItems();
    QCoreApplication::processEvents();
    ASSERT_FALSE(QGuiApplication::overrideCursor());
    window->menuItem(MenuCommand::PrintDocument)->trigger();
    auto *printWindow = window->findChild<PrintWindow *>();
    ASSERT_NE(printWindow, nullptr);
    EXPECT_TRUE(isBusySignShown());
    QCoreApplication::processEvents();
    EXPECT_FALSE(view()->progressIndicator()->isVisible());
    EXPECT_FALSE(QGuiApplication::overrideCursor());

    // Ticking an item in the sheet draws the pages again.
    QListView *items = printWindow->findChild<AddressListTab *>()->itemTableView();
    items->setFocus();
    items->setCurrentIndex(items->model()->index(1, 0));
    QTest::keyClick(items, Qt::Key_Space);
    EXPECT_EQ(items->currentIndex().data(Qt::CheckStateRole).toInt(), Qt::Checked);
    const auto spinner = [printWindow] { return printWindow->findChild<ProgressIndicator *>(); };
    ASSERT_NE(spinner(), nullptr);
    EXPECT_TRUE(spinner()->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QCoreApplication::processEvents();
    EXPECT_EQ(spinner(), nullptr);
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    printWindow->cancel();
    BusySign::setDelayForTesting(-1);
}

// While the preview's printer draws the pages anew, the preview's page pictures are gone: the busy
// sign that shows meanwhile draws itself over the print window and nothing beneath it.
class PaintsDuringPrintTest : public SaveShowsProgressTest
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Paint || !widget)
            return false;
        if (qobject_cast<ProgressIndicator *>(widget) && widget->window() == preview->window())
            ++spinnerPaints;
        if (preview->isAncestorOf(widget) && previewPrinter->printerState() == QPrinter::Active)
            ++previewPaints;
        return false;
    }
    QPrintPreviewWidget *preview = nullptr;
    QPrinter *previewPrinter = nullptr;
    int previewPaints = 0;
    int spinnerPaints = 0;
};

TEST_F(PaintsDuringPrintTest, TheBusySignOverThePreviewPaintsOnlyItself)
{
    // Labels enough for several pages, which the labels' layout counts without a tick.
    QList<ContactRowPtr> added;
    for (int i = 0; i < 80; ++i)
        added.append(created(QStringLiteral("Guest %1").arg(i)));
    view()->undoAddContacts(added, top());
    // Without its cached image, a page is drawn from the printer's page picture.
    const int cacheLimit = QPixmapCache::cacheLimit();
    QPixmapCache::setCacheLimit(1);
    BusySign::setDelayForTesting(0);
    window->show();
    view()->contactsViewController()->selectRowIndexesWithContacts(*top()->contactTable);
    window->validateMenuItems();
    window->menuItem(MenuCommand::PrintDocument)->trigger();
    auto *printWindow = window->findChild<PrintWindow *>();
    ASSERT_NE(printWindow, nullptr);
    QCoreApplication::processEvents();
    preview = printWindow->findChild<QPrintPreviewWidget *>();
    ASSERT_NE(preview, nullptr);
    QObject::connect(preview, &QPrintPreviewWidget::paintRequested, this,
                     [this](QPrinter *printer) { previewPrinter = printer; });
    preview->updatePreview();
    ASSERT_NE(previewPrinter, nullptr);
    QCoreApplication::processEvents();
    qApp->installEventFilter(this);

    QTabBar *tabs = printWindow->findChild<QTabWidget *>()->tabBar();
    for (const int tab : {1, 2, 0}) {
        SCOPED_TRACE(tab);
        spinnerPaints = 0;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        EXPECT_EQ(tabs->currentIndex(), tab);
        EXPECT_GE(spinnerPaints, 1);
        EXPECT_EQ(previewPaints, 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(printWindow->findChild<ProgressIndicator *>(), nullptr);
    }
    qApp->removeEventFilter(this);
    printWindow->cancel();
    QPixmapCache::setCacheLimit(cacheLimit);
    BusySign::setDelayForTesting(-1);
}

} // namespace
