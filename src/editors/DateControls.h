#pragma once

#include "platform/StoreContact.h"

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;

// The date controls that both date editors show: a year field (0 to 2900, 0 for no year), a month
// popup and a calendar picker. Each tells of the user's changes only; showing a date tells nothing.
// A date shown without a year stays without one in what the controls tell, whatever year's page
// of the calendar the user picks its day on.
class DateControls : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaximumYear = 2900;

    explicit DateControls(QWidget *parent = nullptr);

    // Shows the components, today in every control when they make no date; answers the date shown.
    DateComponents showComponents(const DateComponents &components);
    DateComponents shownComponents() const { return m_shown; }
    QDate pickerDate() const;
    // A day of the calendar as the date it makes: without a year when the date shown has none.
    DateComponents pickedComponents(const QDate &day) const;
    void setControlsEnabled(bool enabled);

    QLineEdit *yearField() const { return m_yearField; }
    QLabel *yearFieldLabel() const { return m_yearFieldLabel; }
    QComboBox *monthPopup() const { return m_monthPopup; }
    QLabel *monthPopupLabel() const { return m_monthPopupLabel; }
    QCalendarWidget *datePicker() const { return m_datePicker; }

signals:
    // month 1 to 12.
    void monthChosen(int month);
    // The date shown before the year was typed, moved to the typed year (none for 0 or an empty
    // field): each keystroke starts from that day, so "1984" typed over 29 February passes
    // through 1, 19 and 198 without ending on the 28th.
    void yearEdited(const DateComponents &date);
    void datePicked(const DateComponents &date);

private:
    QLabel *m_yearFieldLabel;
    QLineEdit *m_yearField;
    QLabel *m_monthPopupLabel;
    QComboBox *m_monthPopup;
    QCalendarWidget *m_datePicker;
    DateComponents m_shown;
    bool m_typingYear = false;
    DateComponents m_dateBeforeYear;
};
