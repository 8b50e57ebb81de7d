#include "editors/EditorChrome.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "ui/widgets/SeparatorBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int ThumbnailSize = 32;

} // namespace

EditorChrome::EditorChrome(QWidget *editor, QWidget *body)
    : m_imageView(new QLabel), m_contactNameField(new QLineEdit), m_editButton(new QPushButton),
      m_redSeparator(new SeparatorBox), m_cancelButton(new QPushButton(L(QStringLiteral("Cancel")))),
      m_doneButton(new QPushButton(L(QStringLiteral("Done"))))
{
    m_imageView->setFixedSize(ThumbnailSize, ThumbnailSize);
    m_imageView->setScaledContents(true);
    m_contactNameField->setReadOnly(true);
    m_contactNameField->setFocusPolicy(Qt::NoFocus);
    m_contactNameField->setPlaceholderText(L(QStringLiteral("Name")));
    m_editButton->setCheckable(true);
    m_editButton->setText(L(QStringLiteral("Edit")));

    auto *header = new QHBoxLayout;
    header->addWidget(m_imageView);
    header->addWidget(m_contactNameField, 1);
    header->addWidget(m_editButton);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_doneButton);
    auto *layout = new QVBoxLayout(editor);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(header);
    layout->addWidget(m_redSeparator);
    layout->addWidget(body, 1);
    layout->addLayout(buttons);
}

QString EditorChrome::displayName(QNPerson *person)
{
    const QString name = person ? person->compositeName() : QString();
    // The record answers its own placeholder for an empty name.
    return name.isEmpty() || name == PersonKey::NoName ? L(QStringLiteral("No name")) : name;
}

void EditorChrome::showContact(QNPerson *person)
{
    m_contactNameField->setText(displayName(person));
    if (person)
        m_imageView->setPixmap(QPixmap::fromImage(person->thumbnail()));
    else
        m_imageView->clear();
}

void EditorChrome::showLockState(bool unlocked, bool canUnlock, bool changed,
                                 const QString &unlockedDoneTitle)
{
    {
        const QSignalBlocker blocker(m_editButton);
        m_editButton->setChecked(unlocked);
    }
    m_editButton->setEnabled(canUnlock);
    m_editButton->setText(L(unlocked ? QStringLiteral("Lock") : QStringLiteral("Edit")));
    m_doneButton->setText(unlocked ? unlockedDoneTitle : L(QStringLiteral("Done")));
    m_doneButton->setEnabled(!unlocked || changed);
    m_cancelButton->setVisible(unlocked);
    m_redSeparator->showEditing(unlocked);
}

void EditorChrome::setReturnPressesDone(bool presses)
{
    m_returnPressesDone = presses;
    m_doneButton->setDefault(presses);
}
