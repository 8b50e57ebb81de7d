#include "EditorHarness.h"

#include "addressbook/AddressBook.h"
#include "addressbook/EditFunnel.h"
#include "editors/DateControls.h"
#include "editors/DateText.h"
#include "editors/DateViewController.h"
#include "editors/DatesViewController.h"
#include "platform/UndoManager.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <ostream>

namespace {

QVariantMap ymd(int year, int month, int day)
{
    return {{"year", year}, {"month", month}, {"day", day}};
}

QNPersonPtr withBirthday(const QVariantMap &birthday)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(birthday, "Birthday");
    person->setChanged(false);
    return person;
}

QNPersonPtr withDates(int count)
{
    auto person = std::make_shared<QNPerson>();
    QVariantList dates;
    for (int i = 0; i < count; ++i)
        dates.append(QVariantMap{{"label", "other"}, {"value", ymd(2000 + i, 1, 1)}});
    person->setValue(dates, "Dates");
    person->setChanged(false);
    return person;
}

// Turns the calendar's page a month on with its arrow and clicks a day of the new page.
void pickDayOfNextMonth(QCalendarWidget *calendar, int day)
{
    QTest::mouseClick(calendar->findChild<QToolButton *>("qt_calendar_nextmonth"), Qt::LeftButton);
    auto *days = calendar->findChild<QTableView *>();
    // The days of the month before that lead the page are all above the 20th: the first cell of
    // the day is the new month's.
    QModelIndex cell;
    for (int row = 1; row < days->model()->rowCount() && !cell.isValid(); ++row) {
        for (int column = 0; column < days->model()->columnCount() && !cell.isValid(); ++column) {
            if (days->model()->index(row, column).data().toInt() == day)
                cell = days->model()->index(row, column);
        }
    }
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(cell).center());
}

class BirthdayEditorTest : public EditorHarness
{
protected:
    void prepare(EditorContext &context) override { context.value = m_value; }

    DateViewController *openBirthday(const QNPersonPtr &person)
    {
        m_person = person;
        return open<DateViewController>(person, "Birthday");
    }
    QVariantMap result() const { return m_context->value.toMap(); }

    QNPersonPtr m_person;
    // A value handed in with the context, as the find-and-replace window hands its entry.
    QVariant m_value;
};

TEST_F(BirthdayEditorTest, AContactWithoutABirthdayShowsTodayInEveryControl)
{
    auto *editor = openBirthday(std::make_shared<QNPerson>());
    const QDate today = QDate::currentDate();
    EXPECT_EQ(editor->dateControls()->pickerDate(), today);
    EXPECT_EQ(editor->dateField()->text(),
              QNPerson::dateStringFromDateComponents({today.year(), today.month(), today.day()}));
    EXPECT_EQ(editor->dateControls()->yearField()->text(), QString::number(today.year()));
    EXPECT_EQ(editor->dateControls()->monthPopup()->currentIndex(), today.month() - 1);
    EXPECT_EQ(editor->labelPopup()->itemData(0), "Birthday");
    // Today is only where the controls start: nothing is handed back until the user takes a date,
    // and passing through the untouched field takes none.
    QApplication::setActiveWindow(editor->window());
    editor->dateField()->setFocus();
    QTest::keyClick(editor->dateField(), Qt::Key_Return);
    QTest::keyClick(editor->dateField(), Qt::Key_Tab);
    EXPECT_FALSE(editor->doneButton()->isEnabled());
    EXPECT_EQ(editor->selectedBirthday(), std::nullopt);
}

// Each gesture on a contact without a birthday makes its date the birthday.
TEST_F(BirthdayEditorTest, AContactWithoutABirthdayTakesTheDateTheControlsAreSetTo)
{
    const QDate today = QDate::currentDate();

    auto *editor = openBirthday(std::make_shared<QNPerson>());
    QComboBox *months = editor->dateControls()->monthPopup();
    months->setFocus();
    QTest::keyClick(months, today.month() == 12 ? Qt::Key_Up : Qt::Key_Down);
    const int month = months->currentIndex() + 1;
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_EQ(m_context->dirty, true);
    EXPECT_EQ(result().value("value").toMap(),
              QNPerson::variantFromDateComponents(DateText::withMonth(DateText::components(today), month)));

    editor = openBirthday(std::make_shared<QNPerson>());
    QLineEdit *year = editor->dateControls()->yearField();
    year->selectAll();
    QTest::keyClicks(year, "1980");
    const QDate typed = editor->dateControls()->pickerDate();
    EXPECT_EQ(typed.year(), 1980);
    EXPECT_EQ(typed.month(), today.month());
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_EQ(result().value("value").toMap(),
              QNPerson::variantFromDateComponents(DateText::components(typed)));

    // Today itself is taken with a click on it, though the picker shows it already.
    editor = openBirthday(std::make_shared<QNPerson>());
    auto *calendar = editor->dateControls()->datePicker()->findChild<QTableView *>();
    ASSERT_TRUE(calendar);
    const QModelIndexList shown = calendar->selectionModel()->selectedIndexes();
    ASSERT_EQ(shown.size(), 1);
    QTest::mouseClick(calendar->viewport(), Qt::LeftButton, {}, calendar->visualRect(shown.first()).center());
    ASSERT_TRUE(editor->doneButton()->isEnabled());
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_EQ(result().value("value").toMap(), ymd(today.year(), today.month(), today.day()));
}

// How a typed date is ended: Return or Tab in the field, or a click on Change.
enum class Ending
{
    Return,
    Tab,
    Change
};

struct TypedDateRow
{
    const char *typed;
    Ending ending;
    // The date read; none when the text is no date and the date held before it stays.
    std::optional<DateComponents> read;
    bool japanese = false;
    // The birthday editor opens on a contact with the birthday 1980.05.17, else on one without.
    bool withBirthday = true;
};

void PrintTo(const TypedDateRow &row, std::ostream *out)
{
    *out << row.typed << (row.japanese ? " in Japanese" : "");
}

class TypedDateTest : public BirthdayEditorTest, public ::testing::WithParamInterface<TypedDateRow>
{
protected:
    void SetUp() override
    {
        BirthdayEditorTest::SetUp();
        if (GetParam().japanese)
            QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }
    void TearDown() override
    {
        QLocale::setDefault(m_locale);
        BirthdayEditorTest::TearDown();
    }

    // Types into the focused field and ends the typing as the row says.
    void type(QLineEdit *field, QWidget *doneButton) const
    {
        QApplication::setActiveWindow(field->window());
        field->setFocus();
        field->selectAll();
        for (const QChar c : QString::fromUtf8(GetParam().typed)) {
            // Japanese comes in through the input method.
            if (c.unicode() < 0x80) {
                QTest::keyClick(field, c.toLatin1());
            } else {
                QInputMethodEvent composed;
                composed.setCommitString(c);
                QApplication::sendEvent(field, &composed);
            }
        }
        switch (GetParam().ending) {
        case Ending::Return:
            QTest::keyClick(field, Qt::Key_Return);
            // A table's cell hands its text over on the next pass of the event loop.
            QCoreApplication::processEvents();
            break;
        case Ending::Tab:
            QTest::keyClick(field, Qt::Key_Tab);
            break;
        case Ending::Change:
            QTest::mouseClick(doneButton, Qt::LeftButton);
            break;
        }
    }
    DateComponents expected(const DateComponents &before) const { return GetParam().read.value_or(before); }

    const QLocale m_locale;
};

// Typing alone enables Change. Text that reads as no date never becomes one: the field shows the
// birthday again, or, on a contact without one, stays empty and Change hands nothing back.
TEST_P(TypedDateTest, TheBirthdayFieldReadsTheProgramsFormsAndKeepsTheDateForOtherText)
{
    auto *editor = openBirthday(GetParam().withBirthday ? withBirthday({{"value", ymd(1980, 5, 17)}})
                                                        : std::make_shared<QNPerson>());
    type(editor->dateField(), editor->doneButton());
    if (!GetParam().withBirthday && !GetParam().read) {
        if (GetParam().ending != Ending::Change) {
            EXPECT_EQ(editor->dateField()->text(), "");
            QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
        }
        EXPECT_EQ(m_context->dirty, false);
        EXPECT_FALSE(m_context->value.isValid());
        return;
    }
    const DateComponents date = expected({1980, 5, 17});
    if (GetParam().ending != Ending::Change) {
        EXPECT_EQ(editor->dateField()->text(), QNPerson::dateStringFromDateComponents(date));
        EXPECT_EQ(editor->dateControls()->shownComponents(), date);
        QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    }
    ASSERT_EQ(m_context->dirty, true);
    EXPECT_EQ(result().value("value").toMap(), QNPerson::variantFromDateComponents(date));
    EXPECT_EQ(result().value("stringValue"), QNPerson::dateStringFromDateComponents(date));
}

TEST_P(TypedDateTest, TheDatesCellReadsTheProgramsFormsAndKeepsTheDateForOtherText)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantList{QVariantMap{{"label", "other"}, {"value", ymd(2000, 1, 1)}}}, "Dates");
    auto *editor = open<DatesViewController>(person, "Dates");
    QTableWidget *table = editor->tableView();
    table->editItem(table->item(0, DatesViewController::DateColumn));
    auto *cell = table->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(cell, nullptr);
    type(cell, editor->doneButton());
    const DateComponents date = expected({2000, 1, 1});
    if (GetParam().ending != Ending::Change) {
        EXPECT_EQ(table->item(0, DatesViewController::DateColumn)->text(),
                  QNPerson::dateStringFromDateComponents(date));
        editor->doneButton()->click();
    }
    ASSERT_EQ(m_context->dirty, true);
    EXPECT_EQ(m_context->value.toList().value(0).toMap().value("value").toMap(),
              QNPerson::variantFromDateComponents(date));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TypedDateTest,
    ::testing::Values(TypedDateRow{"12.24", Ending::Change, DateComponents{std::nullopt, 12, 24}},
                      TypedDateRow{"12.24", Ending::Return, DateComponents{std::nullopt, 12, 24}},
                      TypedDateRow{"1985-07-14", Ending::Tab, DateComponents{1985, 7, 14}},
                      TypedDateRow{"02.29", Ending::Return, DateComponents{std::nullopt, 2, 29}},
                      TypedDateRow{"1980.02.29(Fri)", Ending::Change, DateComponents{1980, 2, 29}},
                      // A weekday left over from the date before does not matter.
                      TypedDateRow{"1980.02.28(Fri)", Ending::Return, DateComponents{1980, 2, 28}},
                      TypedDateRow{"1980.02.29(金)", Ending::Return, DateComponents{1980, 2, 29}, true},
                      TypedDateRow{"12.31", Ending::Tab, DateComponents{std::nullopt, 12, 31}, true},
                      TypedDateRow{"１２．２４", Ending::Return, DateComponents{std::nullopt, 12, 24}, true},
                      // A year before 5 is a year, not the editors' stand-in for none.
                      TypedDateRow{"0004.03.15", Ending::Return, DateComponents{4, 3, 15}},
                      TypedDateRow{"abc", Ending::Return, std::nullopt},
                      TypedDateRow{"abc", Ending::Tab, std::nullopt, true},
                      TypedDateRow{"02.30", Ending::Change, std::nullopt},
                      // On a contact without a birthday.
                      TypedDateRow{"12.24", Ending::Change, DateComponents{std::nullopt, 12, 24}, false, false},
                      TypedDateRow{"Dec 24", Ending::Return, std::nullopt, false, false},
                      TypedDateRow{"Dec 24", Ending::Change, std::nullopt, false, false}));

class BirthdayTextTest : public BirthdayEditorTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(BirthdayTextTest, ADateKnownOnlyAsTextIsRead)
{
    m_value = QVariantMap{{"label", "anniversary"}, {"stringValue", GetParam()}};
    auto *editor = openBirthday(std::make_shared<QNPerson>());
    EXPECT_EQ(editor->dateControls()->pickerDate(), QDate(1980, 5, 17));
    EXPECT_EQ(editor->dateControls()->yearField()->text(), "1980");
    EXPECT_EQ(editor->dateControls()->monthPopup()->currentIndex(), 4);
}

INSTANTIATE_TEST_SUITE_P(Formats, BirthdayTextTest,
                         ::testing::Values("1980.05.17 Sat", "1980.05.17(Sat)", "1980.05.17"));

TEST_F(BirthdayEditorTest, ClearAndDoneHandsTheFunnelNil)
{
    auto *editor = openBirthday(withBirthday({{"value", ymd(1980, 5, 17)}}));
    editor->clearButton()->click();
    editor->doneButton()->click();
    ASSERT_EQ(m_context->dirty, true);
    EXPECT_FALSE(m_context->value.isValid());

    AddressBook book;
    ASSERT_TRUE(book.funnel().undoReplaceBirthday(m_context->value, m_context->contact));
    EXPECT_FALSE(m_person->birthdayValue().value_or(QVariantMap()).contains("value"));

    editor = openBirthday(std::make_shared<QNPerson>());
    editor->clearButton()->click();
    editor->doneButton()->click();
    EXPECT_EQ(m_context->dirty, false);
    EXPECT_FALSE(m_context->value.isValid());
}

// Keys typed after emptying a date go to the emptied date, never to the year field, and unreadable
// text undoes no Clear, with or without Return ("\r") before Change.
TEST_F(BirthdayEditorTest, KeysTypedAfterClearAreReadAsADate)
{
    const auto clearTypeAndChange = [](ValueEditor *editor, QPushButton *clear, const char *typed) {
        QApplication::setActiveWindow(editor->window());
        QTest::mouseClick(clear, Qt::LeftButton);
        const QLineEdit *year = editor->findChild<DateControls *>()->yearField();
        const QString yearShown = year->text();
        QTest::keyClicks(QApplication::focusWidget(), typed);
        EXPECT_EQ(year->text(), yearShown);
        QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    };
    auto *editor = openBirthday(std::make_shared<QNPerson>());
    clearTypeAndChange(editor, editor->clearButton(), "Dec 24");
    EXPECT_EQ(m_context->dirty, false);
    editor = openBirthday(withBirthday({{"value", ymd(4, 3, 15)}}));
    clearTypeAndChange(editor, editor->clearButton(), "12.24");
    EXPECT_EQ(result().value("value").toMap(), QVariantMap({{"month", 12}, {"day", 24}}));
    for (const char *typed : {"Dec 24", "Dec 24\r"}) {
        editor = openBirthday(withBirthday({{"value", ymd(1980, 5, 17)}}));
        clearTypeAndChange(editor, editor->clearButton(), typed);
        EXPECT_EQ(m_context->dirty, true);
        EXPECT_FALSE(m_context->value.isValid());
    }
    // The list's "-" empties it, and the keyboard stays with the list.
    auto *dates = open<DatesViewController>(withDates(1), "Dates");
    dates->tableView()->selectRow(0);
    clearTypeAndChange(dates, dates->delButton(), "Dec 24");
    EXPECT_EQ(m_context->value, QVariant(QVariantList()));
}

TEST_F(BirthdayEditorTest, TypedTextAndDateAgreeEvenWhenNeverEntered)
{
    auto *editor = openBirthday(withBirthday({{"value", ymd(1980, 5, 17)}}));
    choose(editor->dateControls()->monthPopup(), 0);
    editor->dateField()->setText("1999.12.31");
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), ymd(1999, 12, 31));
    EXPECT_EQ(result().value("stringValue"), "1999.12.31(Fri)");

    editor = openBirthday(withBirthday({{"value", ymd(1980, 5, 17)}}));
    editor->dateField()->setText("not a date");
    choose(editor->dateControls()->monthPopup(), 5);
    editor->dateField()->setText("not a date");
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), ymd(1980, 6, 17));
    EXPECT_EQ(result().value("stringValue"), "1980.06.17(Tue)");
}

TEST_F(BirthdayEditorTest, TheYearStopsAt2900)
{
    auto *editor = openBirthday(withBirthday({{"value", ymd(1980, 5, 17)}}));
    QLineEdit *year = editor->dateControls()->yearField();
    year->selectAll();
    QTest::keyClicks(year, "3000");
    EXPECT_EQ(year->text(), "300");
    year->selectAll();
    QTest::keyClicks(year, "2900");
    EXPECT_EQ(editor->dateControls()->pickerDate(), QDate(2900, 5, 17));
    EXPECT_TRUE(editor->doneButton()->isEnabled());
}

TEST_F(BirthdayEditorTest, AnotherMonthKeepsTheDayInsideIt)
{
    auto *editor = openBirthday(withBirthday({{"value", ymd(2020, 1, 31)}}));
    choose(editor->dateControls()->monthPopup(), 1);
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), ymd(2020, 2, 29));
}

TEST_F(BirthdayEditorTest, ABirthdayWithoutAYearKeepsNone)
{
    auto *editor = openBirthday(withBirthday({{"value", QVariantMap{{"month", 5}, {"day", 17}}}}));
    EXPECT_EQ(editor->dateControls()->yearField()->text(), "0");
    EXPECT_EQ(editor->dateField()->text(), "05.17");
    editor->dateControls()->datePicker()->setSelectedDate(editor->dateControls()->pickerDate().addDays(1));
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), QVariantMap({{"month", 5}, {"day", 18}}));
    EXPECT_EQ(result().value("stringValue"), "05.18");
}

// Without a year the editors stand in a leap year, so 29 February is a day they can show and keep.
TEST_F(BirthdayEditorTest, TwentyNinthOfFebruaryWithoutAYearIsKeptByEveryControl)
{
    auto *editor = openBirthday(withBirthday({{"value", QVariantMap{{"month", 2}, {"day", 29}}}}));
    DateControls *controls = editor->dateControls();
    EXPECT_EQ(editor->dateField()->text(), "02.29");
    EXPECT_EQ(controls->yearField()->text(), "0");
    EXPECT_EQ(controls->monthPopup()->currentIndex(), 1);
    EXPECT_EQ(controls->pickerDate().day(), 29);
    // The calendar's title names no stand-in year.
    const auto *yearTitle = controls->datePicker()->findChild<QWidget *>("qt_calendar_yearbutton");
    ASSERT_NE(yearTitle, nullptr);
    EXPECT_FALSE(yearTitle->isVisibleTo(controls->datePicker()));

    // The years typed on the way to 1984 are no leap years; the 29th comes back all the same.
    QLineEdit *year = controls->yearField();
    year->selectAll();
    QTest::keyClicks(year, "1984");
    EXPECT_EQ(editor->dateField()->text(), "1984.02.29(Wed)");
    EXPECT_TRUE(yearTitle->isVisibleTo(controls->datePicker()));
    year->selectAll();
    QTest::keyClicks(year, "1985");
    EXPECT_EQ(editor->dateField()->text(), "1985.02.28(Thu)");
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    EXPECT_EQ(editor->dateField()->text(), "02.29");
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), QVariantMap({{"month", 2}, {"day", 29}}));

    editor = openBirthday(withBirthday({{"value", ymd(1980, 2, 29)}}));
    editor->dateControls()->yearField()->selectAll();
    QTest::keyClick(editor->dateControls()->yearField(), Qt::Key_Backspace);
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), QVariantMap({{"month", 2}, {"day", 29}}));
    EXPECT_EQ(result().value("stringValue"), "02.29");
}

// A date without a year keeps none whatever page of the calendar its day is picked on; a year
// before 5 is a year.
TEST_F(BirthdayEditorTest, TheCalendarKeepsTheYearOrItsAbsence)
{
    auto *editor = openBirthday(withBirthday({{"value", QVariantMap{{"month", 2}, {"day", 29}}}}));
    choose(editor->dateControls()->monthPopup(), 11);
    EXPECT_EQ(editor->dateField()->text(), "12.29");
    pickDayOfNextMonth(editor->dateControls()->datePicker(), 10);
    EXPECT_EQ(editor->dateField()->text(), "01.10");
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), QVariantMap({{"month", 1}, {"day", 10}}));

    editor = openBirthday(withBirthday({{"value", ymd(4, 3, 15)}}));
    EXPECT_EQ(editor->dateControls()->yearField()->text(), "4");
    pickDayOfNextMonth(editor->dateControls()->datePicker(), 10);
    editor->doneButton()->click();
    EXPECT_EQ(result().value("value").toMap(), ymd(4, 4, 10));
}

// A larger font in Japanese needs more room for the calendar than the presenters give the editor:
// the popover grows, so Saturday's column is shown whole.
TEST_F(BirthdayEditorTest, TheCalendarShowsSaturdaysColumnWhole)
{
    const QFont font = QApplication::font();
    const QLocale locale;
    QApplication::setFont(QFont(font.family(), 14));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto *days = openBirthday(std::make_shared<QNPerson>())->dateControls()->datePicker()->findChild<QTableView *>();
    QCoreApplication::processEvents();
    const QModelIndex saturday = days->model()->index(0, 6);
    EXPECT_EQ(saturday.data().toString(), "土");
    EXPECT_TRUE(days->viewport()->rect().contains(days->visualRect(saturday)));
    QApplication::setFont(font);
    QLocale::setDefault(locale);
}

class DatesEditorTest : public EditorHarness
{
protected:
    void prepare(EditorContext &context) override { context.labelIndex = m_labelIndex; }

    DatesViewController *openDates(const QNPersonPtr &person, bool editable = true)
    {
        return open<DatesViewController>(person, "Dates", editable);
    }
    static QList<int> labelIndexes(const QVariantList &list)
    {
        QList<int> indexes;
        for (const QVariant &entry : list)
            indexes.append(entry.toMap().value("labelIndex").toInt());
        return indexes;
    }

    std::optional<int> m_labelIndex;
};

TEST_F(DatesEditorTest, AnEmptyListOpenedUnlockedStartsWithToday)
{
    auto *editor = openDates(withDates(0));
    ASSERT_EQ(editor->table().size(), 1);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(editor->table().at(0).toMap().value("value").toMap(),
              ymd(today.year(), today.month(), today.day()));
    EXPECT_TRUE(editor->doneButton()->isEnabled());

    EXPECT_TRUE(openDates(withDates(0), false)->table().isEmpty());
}

TEST_F(DatesEditorTest, AddGoesBelowTheSelectionWithANumberNoEntryHas)
{
    auto *editor = openDates(withDates(4));
    editor->tableView()->selectRow(2);
    editor->addPressed();
    EXPECT_EQ(editor->tableView()->currentRow(), 3);
    EXPECT_EQ(labelIndexes(editor->table()), QList<int>({0, 1, 2, 4, 3}));

    editor = openDates(withDates(3));
    editor->tableView()->selectRow(1);
    editor->deletePressed();
    editor->addPressed();
    EXPECT_EQ(labelIndexes(editor->table()), QList<int>({0, 2, 3}));
}

TEST_F(DatesEditorTest, DeleteTakesEverySelectedRow)
{
    auto *editor = openDates(withDates(3));
    editor->tableView()->selectRow(0);
    editor->tableView()->selectionModel()->select(editor->tableView()->model()->index(2, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // Locking and unlocking keeps the selection.
    editor->editButton()->click();
    editor->editButton()->click();
    editor->deletePressed();
    EXPECT_EQ(labelIndexes(editor->table()), QList<int>({1}));
}

TEST_F(DatesEditorTest, TypedDatesAreReadOrRefused)
{
    auto *editor = openDates(withDates(2));
    editor->setDateText(0, "2020.02.29");
    const QVariantMap entry = editor->table().at(0).toMap();
    EXPECT_EQ(entry.value("value").toMap(), ymd(2020, 2, 29));
    EXPECT_EQ(entry.value("stringValue"), "2020.02.29(Sat)");
    EXPECT_EQ(editor->tableView()->item(0, DatesViewController::DateColumn)->text(), "2020.02.29(Sat)");

    editor->tableView()->item(1, DatesViewController::DateColumn)->setText("banana");
    EXPECT_EQ(editor->table().at(1), withDates(2)->labeledValueForIdentifier("Dates").at(1));
    EXPECT_EQ(editor->tableView()->item(1, DatesViewController::DateColumn)->text(), "2001.01.01(Mon)");
}

TEST_F(DatesEditorTest, AnEmptiedDateLeavesTheList)
{
    auto *editor = openDates(withDates(2));
    editor->setDateText(0, "");
    editor->doneButton()->click();
    ASSERT_EQ(m_context->dirty, true);
    EXPECT_EQ(labelIndexes(m_context->value.toList()), QList<int>({1}));
}

TEST_F(DatesEditorTest, DoneTakesTheCellBeingTyped)
{
    auto *editor = openDates(withDates(1));
    QTableWidget *table = editor->tableView();
    table->editItem(table->item(0, DatesViewController::DateColumn));
    auto *cell = table->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(cell, nullptr);
    QTest::keyClicks(cell, "1999.01.02");
    editor->doneButton()->click();
    ASSERT_EQ(m_context->dirty, true);
    EXPECT_EQ(m_context->value.toList().at(0).toMap().value("value").toMap(), ymd(1999, 1, 2));
}

TEST_F(DatesEditorTest, TheLabelPopupStoresTheLabelNotItsTitle)
{
    registerLabel("Name day", "Dates");
    auto *editor = openDates(withDates(1));
    auto *popup =
        qobject_cast<QComboBox *>(editor->tableView()->cellWidget(0, DatesViewController::LabelColumn));
    ASSERT_NE(popup, nullptr);
    // A label the field does not offer still shows as the entry's own.
    EXPECT_EQ(popup->currentData(), "other");
    EXPECT_GE(popup->findData("anniversary"), 0);
    choose(popup, popup->findData("Name day"));
    EXPECT_EQ(editor->table().at(0).toMap().value("label"), "Name day");

    editor->editButton()->click();
    EXPECT_EQ(editor->tableView()->cellWidget(0, DatesViewController::LabelColumn), nullptr);
    EXPECT_EQ(editor->tableView()->item(0, DatesViewController::LabelColumn)->text(), "Name day");
}

TEST_F(DatesEditorTest, TheControlsEditTheSelectedRowOnly)
{
    auto *editor = openDates(withDates(2));
    choose(editor->dateControls()->monthPopup(), 5);
    EXPECT_EQ(editor->dateControls()->pickerDate().month(), 6);
    EXPECT_EQ(editor->table(), withDates(2)->labeledValueForIdentifier("Dates"));
    EXPECT_TRUE(editor->doneButton()->isEnabled());

    editor->tableView()->selectRow(1);
    EXPECT_EQ(editor->dateControls()->pickerDate(), QDate(2001, 1, 1));
    choose(editor->dateControls()->monthPopup(), 5);
    EXPECT_EQ(editor->table().at(1).toMap().value("value").toMap(), ymd(2001, 6, 1));
}

TEST_F(DatesEditorTest, TwentyNinthOfFebruaryWithoutAYearTakesAYear)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(
        QVariantList{QVariantMap{{"label", "other"}, {"value", QVariantMap{{"month", 2}, {"day", 29}}}}},
        "Dates");
    auto *editor = openDates(person);
    editor->tableView()->selectRow(0);
    EXPECT_EQ(editor->dateControls()->yearField()->text(), "0");
    EXPECT_EQ(editor->dateControls()->pickerDate().day(), 29);
    editor->dateControls()->yearField()->selectAll();
    QTest::keyClicks(editor->dateControls()->yearField(), "2000");
    EXPECT_EQ(editor->table().at(0).toMap().value("value").toMap(), ymd(2000, 2, 29));
}

TEST_F(DatesEditorTest, TheCalendarKeepsTheYearOrItsAbsence)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(
        QVariantList{QVariantMap{{"label", "other"}, {"value", QVariantMap{{"month", 12}, {"day", 20}}}},
                     QVariantMap{{"label", "other"}, {"value", ymd(4, 3, 15)}}},
        "Dates");
    auto *editor = openDates(person);
    for (int row : {0, 1}) {
        editor->tableView()->selectRow(row);
        pickDayOfNextMonth(editor->dateControls()->datePicker(), 10);
    }
    EXPECT_EQ(editor->table().at(0).toMap().value("value").toMap(), QVariantMap({{"month", 1}, {"day", 10}}));
    EXPECT_EQ(editor->table().at(1).toMap().value("value").toMap(), ymd(4, 4, 10));
}

TEST_F(DatesEditorTest, TheContextSelectsTheEntryByItsNumber)
{
    QNPersonPtr person = withDates(3);
    person->deleteLabeledValueForIdentifier("Dates", 1);
    m_labelIndex = 2;
    auto *editor = openDates(person);
    EXPECT_EQ(editor->tableView()->currentRow(), 1);
    EXPECT_EQ(editor->dateControls()->pickerDate(), QDate(2002, 1, 1));
}

} // namespace
