#include "grid/ReplaceAlertPanel.h"

#include "addressbook/TextFormat.h"
#include "model/QNPerson.h"
#include "platform/Localizer.h"
#include "ui/widgets/ValueFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {

// The message (a format whose %@ is the column's display name) and the OK button's title.
struct ModeTexts
{
    QString message;
    QString button;
};

std::optional<ModeTexts> textsFor(ReplaceAlertPanel::Mode mode)
{
    using Mode = ReplaceAlertPanel::Mode;
    switch (mode) {
    case Mode::AddLabelAndText:
        return ModeTexts{L(QStringLiteral("In order to add the label and text %@")),
                         L(QStringLiteral("Add"))};
    case Mode::ReplaceLabelAndText:
        return ModeTexts{L(QStringLiteral("In order to replace the label and text %@")),
                         L(QStringLiteral("Replace"))};
    case Mode::ReplaceText:
        return ModeTexts{L(QStringLiteral("In order to replace the text %@")), L(QStringLiteral("Replace"))};
    case Mode::PrependText:
        return ModeTexts{L(QStringLiteral("In order to prepend the text %@")), L(QStringLiteral("Prepend"))};
    case Mode::AppendText:
        return ModeTexts{L(QStringLiteral("In order to append the text %@")), L(QStringLiteral("Append"))};
    case Mode::Other:
        break;
    }
    return std::nullopt;
}

} // namespace

ReplaceAlertPanel::ReplaceAlertPanel(QWidget *parent)
    : Sheet(parent), m_message(new QLabel), m_columnTitle(new QLabel), m_columnPopup(new QComboBox),
      m_labelPopup(new QComboBox), m_textField(new QLineEdit), m_cancelButton(new QPushButton),
      m_okButton(new QPushButton)
{
    buildLayout();
    // A replacing text may be a long value, or a long paste.
    ValueFields::takeWholeValues(m_textField);
    m_columnTitle->setText(L(QStringLiteral("Columns")));
    m_cancelButton->setText(L(QStringLiteral("Cancel")));
    m_okButton->setText(L(QStringLiteral("OK")));
    m_okButton->setDefault(true);
    connect(m_labelPopup, &QComboBox::activated, this, &ReplaceAlertPanel::popupSelected);
    connect(m_textField, &QLineEdit::textEdited, this, &ReplaceAlertPanel::textFieldChanged);
    connect(m_okButton, &QPushButton::clicked, this, &ReplaceAlertPanel::okPressed);
    connect(m_cancelButton, &QPushButton::clicked, this, &ReplaceAlertPanel::cancelPressed);
}

void ReplaceAlertPanel::buildLayout()
{
    auto *form = new QFormLayout;
    form->addRow(m_columnTitle, m_columnPopup);
    form->addRow(m_labelPopup, m_textField);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_okButton);
    auto *layout = new QVBoxLayout(this);
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_textField->setMinimumWidth(240);
}

void ReplaceAlertPanel::updateUI()
{
    if (!m_labels.isEmpty())
        fillLabelPopup();
    if (!m_identifier.isNull()) {
        m_columnPopup->clear();
        m_columnPopup->addItem(QNPerson::localizedIdentifierForKey(m_identifier));
    }
    applyMode();
    if (m_replaceString.isNull())
        m_replaceString = QString(QLatin1String(""));
    // Prepending and appending start empty: the user types only what is added.
    const bool adds = m_type == Mode::PrependText || m_type == Mode::AppendText;
    m_textField->setText(adds ? QString() : m_replaceString);
}

void ReplaceAlertPanel::fillLabelPopup()
{
    m_labelPopup->clear();
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        const QString title = i < m_localizedLabels.size() ? m_localizedLabels.at(i) : m_labels.at(i);
        m_labelPopup->addItem(title, m_labels.at(i));
    }
}

void ReplaceAlertPanel::applyMode()
{
    const std::optional<ModeTexts> texts = textsFor(m_type);
    if (!texts)
        return;
    m_message->setText(TextFormat::fill(texts->message, {QNPerson::localizedIdentifierForKey(m_identifier)}));
    m_okButton->setText(texts->button);
    switch (m_type) {
    case Mode::AddLabelAndText:
        m_labelPopup->setEnabled(true);
        break;
    case Mode::ReplaceLabelAndText: {
        m_labelPopup->setEnabled(true);
        const int index = m_label.isEmpty() ? -1 : int(m_labels.indexOf(m_label));
        if (index >= 0)
            m_labelPopup->setCurrentIndex(index);
        break;
    }
    case Mode::AppendText:
        m_labelPopup->clear();
        m_labelPopup->setEnabled(false);
        break;
    default:
        m_labelPopup->setEnabled(false);
        break;
    }
}

// Typing goes to the text at once and Return confirms, as in any sheet that asks for a text. The
// window is asked to become active once it is on screen, for a desktop that does not do so itself.
void ReplaceAlertPanel::setVisible(bool visible)
{
    Sheet::setVisible(visible);
    if (!visible)
        return;
    m_textField->setFocus(Qt::OtherFocusReason);
    m_textField->selectAll();
    activateWindow();
}

void ReplaceAlertPanel::popupSelected(int index)
{
    m_label = m_labelPopup->itemData(index).toString();
}

void ReplaceAlertPanel::textFieldChanged(const QString &text)
{
    m_replaceString = text;
}

void ReplaceAlertPanel::okPressed()
{
    m_replaceString = m_textField->text();
    m_label = m_labelPopup->count() > 0 ? m_labelPopup->currentData().toString() : QString();
    endSheet(1);
}

void ReplaceAlertPanel::cancelPressed()
{
    endSheet(0);
}
