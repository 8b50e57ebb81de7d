#include "WidgetsFixture.h"

#include "platform/widgets/Alert.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace {

class AlertTest : public WidgetsFixture
{
protected:
    static Alert okCancel()
    {
        Alert alert;
        alert.setMessageText("Do you want to set the same value in the selected rows");
        alert.setInformativeText("This operation can be undone.");
        alert.addButton("OK");
        alert.addButton("Cancel", Alert::ButtonRole::Cancel);
        return alert;
    }

    // The real message box shown as a sheet on m_window.
    QMessageBox *shownBox() const { return m_window.findChild<QMessageBox *>(); }

    QPushButton *button(const QString &title) const
    {
        for (QAbstractButton *candidate : shownBox()->buttons()) {
            if (candidate->text() == title)
                return qobject_cast<QPushButton *>(candidate);
        }
        return nullptr;
    }

    QWidget m_window;
};

TEST_F(AlertTest, QueuedAnswersThenTestModeAnswerAndAreRecorded)
{
    Alert::setNextAnswer(Alert::SecondButton);
    Alert::setNextAnswer(Alert::FirstButton);
    EXPECT_EQ(okCancel().runModal(), 1001);
    EXPECT_EQ(okCancel().runModal(), 1000);

    ASSERT_EQ(Alert::shownAlerts().size(), 2);
    const Alert::Record shown = Alert::lastShown();
    EXPECT_EQ(shown.messageText, "Do you want to set the same value in the selected rows");
    EXPECT_EQ(shown.informativeText, "This operation can be undone.");
    EXPECT_EQ(shown.buttons, QStringList({"OK", "Cancel"}));
    EXPECT_EQ(shown.answer, 1000);
    EXPECT_FALSE(shown.asSheet);

    // With the queue empty, test mode answers the first button; an alert given none has "OK".
    TestMode::setEnabled(true);
    Alert alert;
    alert.setAlertStyle(Alert::Style::Critical);
    EXPECT_EQ(alert.runModal(), Alert::FirstButton);
    EXPECT_EQ(Alert::lastShown().buttons, QStringList({"OK"}));
    EXPECT_EQ(Alert::lastShown().style, Alert::Style::Critical);
}

TEST_F(AlertTest, SheetCompletionRunsFromTheEventLoop)
{
    Alert::setNextAnswer(Alert::SecondButton);
    int answer = 0;
    okCancel().beginSheetModalForWindow(&m_window, [&answer](int response) { answer = response; });
    EXPECT_EQ(answer, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(answer, 1001);
    EXPECT_TRUE(Alert::lastShown().asSheet);
}

TEST_F(AlertTest, ShownSheetAnswersByButtonPosition)
{
    Alert alert = okCancel();
    alert.addButton("Later");
    int answer = 0;
    alert.beginSheetModalForWindow(&m_window, [&answer](int response) { answer = response; });
    ASSERT_NE(shownBox(), nullptr);
    EXPECT_EQ(shownBox()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(shownBox()->defaultButton(), button("OK"));
    QTest::mouseClick(button("Later"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(answer, 1002);
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    // Escape answers the cancel button, although it is not the last one.
    delete shownBox();
    alert.beginSheetModalForWindow(&m_window, [&answer](int response) { answer = response; });
    QTest::keyClick(shownBox(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(answer, 1001);
}

} // namespace
