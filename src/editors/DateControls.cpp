#include "editors/DateControls.h"

#include "editors/DateText.h"
#include "platform/Localizer.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QValidator>

#include <algorithm>

namespace {

constexpr int YearFieldWidth = 80;

// Digits of a year up to the maximum; a keystroke that would go beyond it is refused.
class YearValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.isEmpty())
            return Intermediate;
        bool ok = false;
        const int year = input.toInt(&ok);
        const bool digits = std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.isDigit(); });
        return ok && digits && year <= DateControls::MaximumYear ? Acceptable : Invalid;
    }
};

} // namespace

DateControls::DateControls(QWidget *parent)
    : QWidget(parent), m_yearFieldLabel(new QLabel(L(QStringLiteral("Year")))), m_yearField(new QLineEdit),
      m_monthPopupLabel(new QLabel(L(QStringLiteral("Month")))), m_monthPopup(new QComboBox),
      m_datePicker(new QCalendarWidget)
{
    m_yearField->setValidator(new YearValidator(m_yearField));
    m_yearField->setMaxLength(4);
    m_monthPopup->addItems(DateText::monthTitles());
    m_datePicker->setMinimumDate(QDate(1, 1, 1));
    m_datePicker->setMaximumDate(QDate(MaximumYear, 12, 31));
    m_datePicker->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);

    // Year and month beside the calendar: the popovers are wider than they are tall.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    layout->addWidget(m_yearFieldLabel, 0, 0);
    layout->addWidget(m_yearField, 1, 0);
    layout->addWidget(m_monthPopupLabel, 2, 0);
    layout->addWidget(m_monthPopup, 3, 0);
    layout->addWidget(m_datePicker, 0, 1, 5, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(1, 1);
    m_yearField->setFixedWidth(YearFieldWidth);
    m_monthPopup->setFixedWidth(YearFieldWidth);

    connect(m_monthPopup, &QComboBox::activated, this, [this](int index) { emit monthChosen(index + 1); });
    connect(m_yearField, &QLineEdit::textEdited, this, [this](const QString &text) {
        const DateComponents date = DateText::withYear(m_dateBeforeYear, text.toInt());
        if (date.isEmpty())
            return;
        const QScopedValueRollback<bool> typing(m_typingYear, true);
        emit yearEdited(date);
    });
    connect(m_datePicker, &QCalendarWidget::selectionChanged, this,
            [this] { emit datePicked(pickedComponents(m_datePicker->selectedDate())); });
    showComponents({});
}

DateComponents DateControls::showComponents(const DateComponents &components)
{
    QDate date = DateText::calendarDate(components);
    // No date: every control shows today, none a year 0 or no month beside today in the picker.
    if (!date.isValid())
        return showComponents(DateText::components(QDate::currentDate()));
    // A day without a year picked on the page of another year stays there, not under the pointer
    // of a page laid out anew.
    if (!components.year && m_datePicker->monthShown() == date.month()) {
        const QDate onPage(m_datePicker->yearShown(), date.month(), date.day());
        if (onPage.isValid())
            date = onPage;
    }
    m_shown = components;
    const QSignalBlocker pickerBlocker(m_datePicker);
    m_datePicker->setSelectedDate(date);
    // The year being typed stays as typed, an emptied field included.
    if (!m_typingYear) {
        m_yearField->setText(QString::number(components.year.value_or(0)));
        m_dateBeforeYear = components;
    }
    m_monthPopup->setCurrentIndex(components.month.value_or(0) - 1);
    // Without a year the picker's stand-in year is no year of the date's: its title leaves it out.
    if (auto *yearButton = m_datePicker->findChild<QWidget *>(QStringLiteral("qt_calendar_yearbutton")))
        yearButton->setVisible(components.year.has_value());
    return components;
}

QDate DateControls::pickerDate() const
{
    return m_datePicker->selectedDate();
}

DateComponents DateControls::pickedComponents(const QDate &day) const
{
    return DateText::components(day, m_shown.year.has_value());
}

void DateControls::setControlsEnabled(bool enabled)
{
    m_yearField->setEnabled(enabled);
    m_monthPopup->setEnabled(enabled);
    m_datePicker->setEnabled(enabled);
}
