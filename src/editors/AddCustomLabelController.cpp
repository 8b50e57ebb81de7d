#include "editors/AddCustomLabelController.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

AddCustomLabelController::AddCustomLabelController(QWidget *parent)
    : ValueEditor(parent), m_labelLabel(new QLabel(L(QStringLiteral("Custom Label:")))),
      m_labelField(new QLineEdit), m_cancelButton(new QPushButton(L(QStringLiteral("Cancel")))),
      m_addButton(new QPushButton(L(QStringLiteral("Add"))))
{
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_labelLabel, 0, 0);
    layout->addWidget(m_labelField, 0, 1, 1, 2);
    layout->addWidget(m_cancelButton, 1, 1);
    layout->addWidget(m_addButton, 1, 2);
    m_addButton->setEnabled(false);
    connect(m_labelField, &QLineEdit::editingFinished, this, &AddCustomLabelController::textShouldEndEditing);
    connect(m_labelField, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_addButton->setEnabled(!text.trimmed().isEmpty()); });
    connect(m_addButton, &QPushButton::clicked, this, &AddCustomLabelController::addPressed);
    connect(m_cancelButton, &QPushButton::clicked, this, &AddCustomLabelController::cancelPressed);
}

void AddCustomLabelController::loadContext()
{
    m_labelField->clear();
}

void AddCustomLabelController::updateUI()
{
    m_labelField->setReadOnly(!isEditable());
}

void AddCustomLabelController::textShouldEndEditing()
{
    m_addButton->setEnabled(true);
    m_addButton->setDefault(true);
}

void AddCustomLabelController::addPressed()
{
    const EditorContextPtr context = contextInfo();
    if (!context)
        return;
    // Blanks around a label would make it look like another one in every menu.
    const QString text = m_labelField->text().trimmed();
    context->dirty = !text.isEmpty();
    if (!text.isEmpty())
        context->customLabel = text;
    closePopover();
}

void AddCustomLabelController::cancelPressed()
{
    const EditorContextPtr context = contextInfo();
    if (!context)
        return;
    context->dirty = false;
    context->customLabel = QString(QStringLiteral(""));
    closePopover();
}
