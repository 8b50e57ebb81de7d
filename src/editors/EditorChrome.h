#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class QNPerson;
class SeparatorBox;

// The frame that value editors show around their own controls: the contact's thumbnail and name
// with the Edit/Lock button on top, the separator that tells the lock state, Cancel and Done below.
// The widgets belong to the editor the frame is laid out in.
class EditorChrome
{
public:
    // Lays the frame out in editor, with body between the separator and the buttons.
    EditorChrome(QWidget *editor, QWidget *body);

    QLabel *imageView() const { return m_imageView; }
    QLineEdit *contactNameField() const { return m_contactNameField; }
    QPushButton *editButton() const { return m_editButton; }
    SeparatorBox *redSeparator() const { return m_redSeparator; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QPushButton *doneButton() const { return m_doneButton; }

    // The thumbnail and the composite name, "No name" when the contact has none.
    void showContact(QNPerson *person);
    // Titles, visibility and colours of the lock state. Done is enabled while locked (it only
    // closes), and unlocked once there is a change to hand back.
    void showLockState(bool unlocked, bool canUnlock, bool changed, const QString &unlockedDoneTitle);
    // Return presses Done; the button shows it.
    void setReturnPressesDone(bool presses);
    bool returnPressesDone() const { return m_returnPressesDone; }

    static QString displayName(QNPerson *person);

private:
    QLabel *m_imageView;
    QLineEdit *m_contactNameField;
    QPushButton *m_editButton;
    SeparatorBox *m_redSeparator;
    QPushButton *m_cancelButton;
    QPushButton *m_doneButton;
    bool m_returnPressesDone = false;
};
