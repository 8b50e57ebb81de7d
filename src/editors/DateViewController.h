#pragma once

#include "editors/ValueEditor.h"
#include "platform/StoreContact.h"

#include <QStringList>

#include <optional>

class DateControls;
class QComboBox;
class QLineEdit;
class QPushButton;

// The popover that edits one date: the contact's birthday ("Birthday"), or one dated entry handed
// in as the context's "value" ("Dates"). Done hands back {"value": components, "stringValue"},
// both from one date: the text typed in the date field where it reads as a date, else the date
// last taken. Without a date to hand back, or with a cleared date where there was none, Done
// hands back "dirty" false; a cleared date hands back nil.
class DateViewController : public ValueEditor
{
    Q_OBJECT

public:
    explicit DateViewController(QWidget *parent = nullptr);

    // Label keys of the label popup, which only shows them; ["Birthday"] when unset at opening.
    void setLabels(const QStringList &labels) { m_labels = labels; }
    QStringList labels() const { return m_labels.value_or(QStringList()); }
    // The date last taken as the edited one; none when the value has no date, or after Clear.
    std::optional<DateComponents> selectedBirthday() const { return m_selectedBirthday; }

    QComboBox *labelPopup() const { return m_labelPopup; }
    QLineEdit *dateField() const { return m_dateField; }
    DateControls *dateControls() const { return m_dateControls; }
    QPushButton *clearButton() const { return m_clearButton; }

protected:
    bool honoursEditEnabled() const override { return true; }
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;

private:
    void fillLabelPopup();
    // The context's "value", else the person's value of the type; a map or nil.
    QVariantMap sourceValue() const;
    void showDate(const DateComponents &components);
    // The field's text as the editor puts it there; the user's typing makes it differ.
    void showText(const QString &text);
    // The field shows the date taken again, else the value's own text; unreadable text never
    // becomes a date.
    void showHeldText();
    // A date the user typed, picked or set with the year and month controls becomes the edited one.
    void takeDate(const DateComponents &date);
    // The date of the text the user typed in the field; none when untouched or no date.
    std::optional<DateComponents> typedDate() const;
    void dateFieldEdited();
    void dateFieldEntered();
    void monthChosen(int month);
    void clearPressed();
    void updateClearButton();

    QComboBox *m_labelPopup;
    QLineEdit *m_dateField;
    QPushButton *m_clearButton;
    DateControls *m_dateControls;
    std::optional<QStringList> m_labels;
    std::optional<DateComponents> m_selectedBirthday;
    // The value had a date or a text, so that clearing it is a change.
    bool m_hadValue = false;
    // The value's text when it reads as no date; gone after Clear.
    QString m_unreadText;
    QString m_shownText;
};
