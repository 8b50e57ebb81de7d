#pragma once

#include "editors/ValueEditor.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The small popover that asks for one label text. Add hands the text back as "CustomLabel" with
// "dirty" true (false for an empty text); Cancel hands back "dirty" false and an empty label.
class AddCustomLabelController : public ValueEditor
{
    Q_OBJECT

public:
    explicit AddCustomLabelController(QWidget *parent = nullptr);

    QLabel *labelLabel() const { return m_labelLabel; }
    QLineEdit *labelField() const { return m_labelField; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    void addPressed();
    void cancelPressed();
    // The field's editing ended: Add becomes the Return key's button.
    void textShouldEndEditing();

protected:
    void loadContext() override;
    void updateUI() override;

private:
    QLabel *m_labelLabel;
    QLineEdit *m_labelField;
    QPushButton *m_cancelButton;
    QPushButton *m_addButton;
};
