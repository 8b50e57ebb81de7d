#include "WidgetsFixture.h"

#include "platform/widgets/Sheet.h"

#include <QTest>
#include <QTimer>

#include <optional>

namespace {

class SheetTest : public WidgetsFixture
{
protected:
    std::optional<int> begin(Sheet &sheet)
    {
        sheet.beginSheetModalForWindow(&m_window, [this](int code) { m_code = code; });
        return m_code;
    }

    QWidget m_window;
    std::optional<int> m_code;
};

struct Ending
{
    const char *name;
    std::function<void(Sheet &)> end;
    int code;
};

class SheetEnding : public SheetTest, public ::testing::WithParamInterface<Ending>
{
};

TEST_P(SheetEnding, CompletionGetsTheCode)
{
    Sheet sheet;
    EXPECT_FALSE(begin(sheet).has_value());
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet.parentWidget(), &m_window);

    GetParam().end(sheet);
    EXPECT_EQ(m_code, GetParam().code);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_FALSE(sheet.isSheetOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, SheetEnding,
    ::testing::Values(Ending{"Accepted", [](Sheet &sheet) { sheet.endSheet(1); }, 1},
                      Ending{"Cancelled", [](Sheet &sheet) { sheet.endSheet(0); }, 0},
                      Ending{"Escape", [](Sheet &sheet) { QTest::keyClick(&sheet, Qt::Key_Escape); }, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SheetTest, CompletionRunsOnceAndMayDeleteTheSheet)
{
    auto *sheet = new Sheet;
    QPointer<Sheet> guard(sheet);
    int calls = 0;
    sheet->beginSheetModalForWindow(&m_window, [&calls](int) { ++calls; });
    sheet->endSheet(1);
    sheet->endSheet(0);
    EXPECT_EQ(calls, 1);

    sheet->beginSheetModalForWindow(&m_window, [sheet](int) { delete sheet; });
    sheet->endSheet(1);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(SheetTest, QueuedModalResponseReturnsWithoutShowing)
{
    Sheet::setNextModalResponse(-1001);
    Sheet sheet;
    EXPECT_EQ(sheet.runModal(), -1001);
    EXPECT_FALSE(sheet.isVisible());
}

TEST_F(SheetTest, ModalRunEndsWithTheStopCode)
{
    Sheet sheet;
    QTimer::singleShot(0, &sheet, [&sheet] {
        EXPECT_TRUE(sheet.isRunningModal());
        EXPECT_EQ(sheet.windowModality(), Qt::ApplicationModal);
        sheet.stopModalWithCode(-1000);
    });
    EXPECT_EQ(sheet.runModal(), -1000);
    EXPECT_FALSE(sheet.isRunningModal());
    EXPECT_FALSE(sheet.isVisible());
}

// A stop that arrives after its run has ended must not end the next run.
TEST_F(SheetTest, StopOutsideAModalRunIsIgnored)
{
    Sheet sheet;
    sheet.stopModalWithCode(-1000);
    QTimer::singleShot(0, &sheet, [&sheet] { sheet.stopModalWithCode(-1001); });
    EXPECT_EQ(sheet.runModal(), -1001);
}

} // namespace
