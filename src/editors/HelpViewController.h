#pragma once

#include <QPointer>
#include <QWidget>

class Popover;
class QLabel;
class QPushButton;

// The help text of the custom-item sheet, for the address book or for a vCard document.
class HelpViewController : public QWidget
{
    Q_OBJECT

public:
    explicit HelpViewController(QWidget *parent = nullptr);

    void setPopover(Popover *popover);
    void setIsVCard(bool isVCard);
    bool isVCard() const { return m_isVCard; }
    // Done closes the popover.
    void buttonDidPress();

    QLabel *textField() const { return m_textField; }
    QPushButton *doneButton() const { return m_doneButton; }

private:
    void viewDidLoad();

    QLabel *m_textField;
    QPushButton *m_doneButton;
    QPointer<Popover> m_popover;
    bool m_isVCard = false;
};
