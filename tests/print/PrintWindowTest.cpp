#include "PrintFixture.h"

#include "addressbook/DefaultsKey.h"
#include "platform/PrintInfo.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/PrintPanel.h"
#include "print/AccessoryViewController.h"
#include "print/EnvelopeTab.h"
#include "print/EnvelopeTextRect.h"
#include "print/PrintView.h"
#include "print/PrintWindow.h"
#include "print/PrintWindowServices.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <optional>

using namespace PrintKey;

namespace {

// A print run as the print command starts it, on a main window of its own.
class PrintWindowTest : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        m_info.setPageLayout(paper(QSizeF(300, 400)));
        m_mainWindow.show();
    }

    void start(const QList<SubContactRowPtr> &rows, const QString &style = PrintStyleName::AddressList)
    {
        PrintWindowServices services(defaults());
        m_accessory = services.makeAccessory();
        m_accessory->printOptions()->insert(PrintStyle, style);
        m_view = services.makePrintView(rows, m_info, m_accessory->printOptions());
        m_accessory->setPrintView(m_view.get());
        PrintServices::Operation operation;
        operation.view = m_view.get();
        operation.accessory = m_accessory.get();
        operation.printInfo = &m_info;
        operation.panelOptions = PrintServices::ShowsPaperSize | PrintServices::ShowsOrientation;
        operation.window = &m_mainWindow;
        operation.completion = [this](bool success) {
            m_results.append(success);
            // The print command lets go of both at once.
            m_accessory.reset();
            m_view.reset();
        };
        services.runOperation(operation);
    }

    PrintWindow *window() const { return m_mainWindow.findChild<PrintWindow *>(); }
    AccessoryViewController *accessory() const { return dynamic_cast<AccessoryViewController *>(m_accessory.get()); }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    PrintInfo m_info;
    QWidget m_mainWindow;
    std::unique_ptr<PrintAccessoryInterface> m_accessory;
    std::unique_ptr<PrintViewInterface> m_view;
    QList<bool> m_results;
};

} // namespace

TEST_F(PrintWindowTest, TheWindowShowsTheAccessoryBesideALivePreviewWithoutBlocking)
{
    start(rowsOf(3));
    PrintWindow *printWindow = window();
    ASSERT_TRUE(printWindow);
    EXPECT_TRUE(printWindow->isVisible());
    EXPECT_EQ(printWindow->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(printWindow->isAncestorOf(accessory()->view()));
    EXPECT_EQ(printWindow->preview()->pageCount(), 1);

    // A style chosen in the accessory reaches the preview at once.
    accessory()->view()->findChild<QTabWidget *>()->setCurrentIndex(2);
    EXPECT_EQ(printWindow->preview()->pageCount(), 3);

    // So does the paper, which the print info keeps for the next print.
    printWindow->orientationPopup()->setCurrentIndex(1);
    EXPECT_EQ(m_info.pageLayout().orientation(), QPageLayout::Landscape);
    printWindow->paperSizePopup()->setCurrentIndex(printWindow->paperSizePopup()->findText("A5"));
    EXPECT_EQ(m_info.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(static_cast<PrintView *>(m_view.get())->geometry().paperSize.toSize(), QSize(595, 420));
    EXPECT_TRUE(m_results.isEmpty());
}

TEST_F(PrintWindowTest, PrintAsksForThePrinterPrintsThePreviewedPagesAndClosesOnce)
{
    start(rowsOf(3), PrintStyleName::Envelope);
    QPointer<PrintWindow> printWindow = window();
    QPointer<QWidget> accessoryView = accessory()->view();

    PrintPanel::setNextCancel();
    printWindow->printButton()->click();
    settle();
    EXPECT_TRUE(printWindow && printWindow->isVisible());
    EXPECT_TRUE(m_results.isEmpty());

    PrintPanel::setNextOutputFile(path("printed.pdf"));
    printWindow->printButton()->click();
    settle();
    EXPECT_EQ(PrintPanel::shownPanels().size(), 2);
    EXPECT_EQ(m_results, QList<bool>{true});
    EXPECT_TRUE(run("pdfinfo", {path("printed.pdf")}).contains(QRegularExpression("Pages:\\s+3\\n")));
    // The window is gone, and the accessory's view went with the accessory, not with the window.
    EXPECT_FALSE(printWindow);
    EXPECT_FALSE(accessoryView);
    EXPECT_EQ(m_mainWindow.findChildren<QWidget *>().size(), 0);
}

TEST_F(PrintWindowTest, CancelEndsThePrintUnprintedAndAFailedPrintSaysSoAndStaysOpen)
{
    start(rowsOf(2));
    QPointer<PrintWindow> printWindow = window();
    PrintPanel::setNextOutputFile(path("no folder/x.pdf"));
    printWindow->print();
    settle();
    EXPECT_TRUE(printWindow);
    EXPECT_TRUE(m_results.isEmpty());
    EXPECT_EQ(Alert::lastShown().messageText, "The contacts could not be printed.");
    EXPECT_FALSE(QFileInfo::exists(path("no folder/x.pdf")));

    printWindow->cancel();
    settle();
    EXPECT_EQ(m_results, QList<bool>{false});
    EXPECT_FALSE(printWindow);
}

TEST_F(PrintWindowTest, TheEnvelopeBoxFollowsThePaperChosenInTheWindow)
{
    m_info.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    start(rowsOf(2), PrintStyleName::Envelope);
    PrintWindow *printWindow = window();
    EnvelopeTab *tab = accessory()->envelopeTab();
    const auto storedBox = [this](const QString &paper) {
        const QVariantMap saved = defaults().dictionaryForKey(DefaultsKey::PrintOptions);
        const QVariantMap rects = saved.value(EnvelopeOptions).toMap().value(TextRectDict).toMap();
        return EnvelopeTextRect::fromString(rects.value(paper).toString()).value_or(QRectF());
    };
    const QRectF a4Box = storedBox("A4");
    EXPECT_NEAR(a4Box.width(), 198.33, 1e-4);
    printWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(printWindow));
    // Typed and left with Tab: Return would press Print.
    const auto typeX = [tab](const QString &text) {
        tab->originXField()->setFocus();
        QTest::keyClick(tab->originXField(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(tab->originXField(), text);
        QTest::keyClick(tab->originXField(), Qt::Key_Tab);
    };

    // The last paper offered is the postcard: the tab shows its box, in the middle of it.
    QTest::keyClick(printWindow->paperSizePopup(), Qt::Key_End);
    ASSERT_EQ(EnvelopeTextRect::paperName(m_info), "Postcard");
    QSizeF postcard = EnvelopeTextRect::paperSize(m_info);
    const QRectF postcardBox = EnvelopeTextRect::defaultRect(postcard);
    EXPECT_NEAR(tab->originXField()->value(), postcardBox.x(), 0.005);
    EXPECT_NEAR(tab->originYField()->value(), postcardBox.y(), 0.005);
    EXPECT_NEAR(tab->widthField()->value(), postcardBox.width(), 0.005);
    EXPECT_NEAR(tab->heightField()->value(), postcardBox.height(), 0.005);

    // An edit is limited by the postcard and kept as its box; A4's stays.
    typeX("600");
    EXPECT_NEAR(tab->originXField()->value(), 0.95 * postcard.width(), 0.005);
    EXPECT_NEAR(storedBox("Postcard").x(), 0.95 * postcard.width(), 0.005);
    EXPECT_EQ(storedBox("A4"), a4Box);

    // Turned, the postcard keeps its box, limited by its turned width.
    QTest::keyClick(printWindow->orientationPopup(), Qt::Key_End);
    postcard = EnvelopeTextRect::paperSize(m_info);
    ASSERT_GT(postcard.width(), postcard.height());
    EXPECT_NEAR(tab->originXField()->value(), storedBox("Postcard").x(), 0.005);
    typeX("600");
    EXPECT_NEAR(storedBox("Postcard").x(), 0.95 * postcard.width(), 0.005);

    // Back on A4, its own box shows again.
    QTest::keyClick(printWindow->paperSizePopup(), Qt::Key_Home);
    EXPECT_NEAR(tab->originXField()->value(), a4Box.x(), 0.005);
    EXPECT_NEAR(tab->widthField()->value(), a4Box.width(), 0.005);
    EXPECT_TRUE(PrintPanel::shownPanels().isEmpty());
}
