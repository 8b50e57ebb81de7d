#include "editors/DateViewController.h"

#include "editors/DateControls.h"
#include "editors/DateText.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "ui/widgets/LabelPopup.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

DateViewController::DateViewController(QWidget *parent)
    : ValueEditor(parent), m_labelPopup(new QComboBox), m_dateField(new QLineEdit),
      m_clearButton(new QPushButton(L(QStringLiteral("Clear")))), m_dateControls(new DateControls)
{
    auto *body = new QWidget;
    auto *layout = new QGridLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_labelPopup, 0, 0);
    layout->addWidget(m_dateField, 0, 1);
    layout->addWidget(m_clearButton, 0, 2);
    layout->addWidget(m_dateControls, 1, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    // The label only says which date this is; it takes no part in the result.
    m_labelPopup->setEnabled(false);
    setUpChrome(body);

    connect(m_dateField, &QLineEdit::editingFinished, this, &DateViewController::dateFieldEntered);
    connect(m_dateField, &QLineEdit::textEdited, this, &DateViewController::dateFieldEdited);
    connect(m_clearButton, &QPushButton::clicked, this, &DateViewController::clearPressed);
    connect(m_dateControls, &DateControls::monthChosen, this, &DateViewController::monthChosen);
    connect(m_dateControls, &DateControls::yearEdited, this, &DateViewController::takeDate);
    connect(m_dateControls, &DateControls::datePicked, this, &DateViewController::takeDate);
    // A click on the date already shown takes it too: a contact without a date shows today.
    connect(m_dateControls->datePicker(), &QCalendarWidget::clicked, this,
            [this](QDate day) { takeDate(m_dateControls->pickedComponents(day)); });
}

void DateViewController::loadContext()
{
    if (!m_labels)
        m_labels = QStringList{PersonIdentifier::Birthday};
    fillLabelPopup();

    const QVariantMap source = sourceValue();
    const QVariant value = source.value(PersonKey::Value);
    const QString text = source.value(PersonKey::StringValue).toString();
    m_selectedBirthday.reset();
    if (const std::optional<DateComponents> components = QNPerson::dateComponentsFromVariant(value);
        components && !components->isEmpty()) {
        m_selectedBirthday = components;
    } else if (!value.isValid() && !text.isEmpty()) {
        m_selectedBirthday = DateText::parse(text);
    }
    m_hadValue = m_selectedBirthday || !text.isEmpty();
    m_unreadText = m_selectedBirthday ? QString() : text;
    // Without a date the controls start on today, which is not taken until the user takes it.
    showDate(m_selectedBirthday.value_or(DateComponents{}));
}

void DateViewController::fillLabelPopup()
{
    m_labelPopup->clear();
    // "Birthday" names the field; the labels of dated entries are labels.
    const bool birthday = contextInfo()->type == PersonIdentifier::Birthday;
    for (const QString &label : *m_labels)
        m_labelPopup->addItem(
            birthday ? QNPerson::localizedIdentifierForKey(label) : LabelPopup::localizedLabel(label), label);
    m_labelPopup->setCurrentIndex(0);
}

QVariantMap DateViewController::sourceValue() const
{
    const EditorContextPtr context = contextInfo();
    if (context->value.typeId() == QMetaType::QVariantMap)
        return context->value.toMap();
    QNPerson *edited = person();
    return edited ? edited->valueForIdentifier(context->type).toMap() : QVariantMap();
}

void DateViewController::updateUI()
{
    const bool editable = isEditable();
    m_dateControls->setControlsEnabled(editable);
    m_dateField->setEnabled(editable);
    updateClearButton();
}

void DateViewController::showDate(const DateComponents &components)
{
    showText(DateText::text(m_dateControls->showComponents(components)));
}

void DateViewController::showText(const QString &text)
{
    m_dateField->setText(text);
    m_shownText = text;
}

void DateViewController::showHeldText()
{
    if (m_selectedBirthday)
        showDate(*m_selectedBirthday);
    else
        showText(m_unreadText);
    updateClearButton();
}

void DateViewController::takeDate(const DateComponents &components)
{
    // Shown even when unchanged, so that a date typed in another form reads back in ours.
    showDate(components);
    if (!m_selectedBirthday || *m_selectedBirthday != components) {
        m_selectedBirthday = components;
        noteChange();
    }
    updateClearButton();
}

std::optional<DateComponents> DateViewController::typedDate() const
{
    const QString text = m_dateField->text();
    return text != m_shownText ? DateText::parse(text) : std::nullopt;
}

void DateViewController::dateFieldEdited()
{
    // Done takes the typed date as it stands, so typing is already a change.
    noteChange();
    updateClearButton();
}

void DateViewController::dateFieldEntered()
{
    // An emptied field is a cleared date, which Done hands back; leaving an untouched field, one
    // that shows today for a value without a date included, takes nothing.
    if (!isEditable() || m_dateField->text() == m_shownText || m_dateField->text().trimmed().isEmpty())
        return;
    if (const std::optional<DateComponents> date = typedDate())
        takeDate(*date);
    else
        showHeldText();
}

void DateViewController::monthChosen(int month)
{
    takeDate(DateText::withMonth(m_dateControls->shownComponents(), month));
}

void DateViewController::clearPressed()
{
    // Nothing is held after Clear: unreadable text brings no date back, and the controls, like
    // those of a value without a date, start on today rather than on the cleared date.
    m_selectedBirthday.reset();
    m_unreadText.clear();
    m_dateControls->showComponents({});
    showText(QString());
    // Before the button is disabled, or the focus would pass on to the year field.
    m_dateField->setFocus();
    noteChange();
    updateClearButton();
}

void DateViewController::updateClearButton()
{
    m_clearButton->setEnabled(isEditable() && !m_dateField->text().isEmpty());
}

void DateViewController::finishEditing()
{
    const EditorContextPtr context = contextInfo();
    const QString text = m_dateField->text();
    if (text.trimmed().isEmpty()) {
        // Nil, not an empty dictionary, is what clears a stored date.
        if (m_hadValue) {
            commit(QVariant());
            return;
        }
        context->dirty = false;
        closePopover();
        return;
    }
    // Typed text that was never entered still counts, so that the text and the date agree; text
    // that reads as no date leaves what is held: the date taken, the value's own text, or nothing.
    std::optional<DateComponents> date = typedDate();
    if (!date)
        date = m_selectedBirthday;
    if (!date) {
        // Nothing held where the value had something: Clear stands.
        if (m_hadValue && m_unreadText.isEmpty()) {
            commit(QVariant());
            return;
        }
        context->dirty = false;
        closePopover();
        return;
    }
    const DateComponents components = *date;
    showDate(components);
    commit(QVariantMap{{PersonKey::Value, QNPerson::variantFromDateComponents(components)},
                       {PersonKey::StringValue, DateText::text(components)}});
}
