#include "editors/HelpViewController.h"

#include "platform/Localizer.h"
#include "platform/widgets/Popover.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HelpViewController::HelpViewController(QWidget *parent)
    : QWidget(parent), m_textField(new QLabel), m_doneButton(new QPushButton(L(QStringLiteral("Done"))))
{
    m_textField->setWordWrap(true);
    m_textField->setTextFormat(Qt::PlainText);
    m_textField->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_textField, 1);
    layout->addWidget(m_doneButton, 0, Qt::AlignRight);
    connect(m_doneButton, &QPushButton::clicked, this, &HelpViewController::buttonDidPress);
    viewDidLoad();
}

void HelpViewController::viewDidLoad()
{
    m_textField->setText(m_isVCard ? L(QStringLiteral("CustomItemPanel_help_vCard"))
                                   : L(QStringLiteral("CustomItemPanel_help_AddressBook")));
}

void HelpViewController::setPopover(Popover *popover)
{
    m_popover = popover;
}

void HelpViewController::setIsVCard(bool isVCard)
{
    m_isVCard = isVCard;
    viewDidLoad();
}

void HelpViewController::buttonDidPress()
{
    if (m_popover)
        m_popover->close();
}
