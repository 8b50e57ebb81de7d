#include "editors/SNSViewController.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/StoreLabels.h"
#include "ui/widgets/LabelPopup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

const QString SocialNetwork = QStringLiteral("Social Network");

QString text(const QVariantMap &entry, const QString &key)
{
    return entry.value(key).toString();
}

} // namespace

SNSViewController::SNSViewController(QWidget *parent)
    : ValueEditor(parent), m_servicePopup(new QComboBox), m_usernameField(new QLineEdit),
      m_userIdentifierField(new QLineEdit), m_URLStringField(new QLineEdit)
{
    auto *body = new QWidget;
    auto *layout = new QFormLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addRow(L(QStringLiteral("Service Type")) + QLatin1Char(':'), m_servicePopup);
    layout->addRow(m_usernameField);
    layout->addRow(m_userIdentifierField);
    layout->addRow(m_URLStringField);
    m_usernameField->setPlaceholderText(StoreValueKey::localizedString(StoreValueKey::Username));
    m_userIdentifierField->setPlaceholderText(StoreValueKey::localizedString(StoreValueKey::UserIdentifier));
    m_URLStringField->setPlaceholderText(StoreValueKey::localizedString(StoreValueKey::UrlString));
    LabelPopup::drawPlaceholderAsLabel(*m_servicePopup);
    setUpChrome(body);

    connect(m_servicePopup, &QComboBox::activated, this, &SNSViewController::serviceChosen);
    for (QLineEdit *field : {m_usernameField, m_userIdentifierField, m_URLStringField})
        connect(field, &QLineEdit::textEdited, this, &SNSViewController::textChanged);
}

bool SNSViewController::isNewEntry() const
{
    const EditorContextPtr context = contextInfo();
    return !context || !context->labelIndex || *context->labelIndex < 0;
}

QString SNSViewController::unlockedDoneTitle() const
{
    return L(isNewEntry() ? QStringLiteral("Add") : QStringLiteral("Change"));
}

void SNSViewController::loadContext()
{
    m_labels = QNPerson::labelTableDict().value(SocialNetwork);
    QNPerson *edited = person();
    std::optional<QVariantMap> stored;
    if (!isNewEntry() && edited)
        stored = edited->labeledValueForIdentifierAtLabelIndex(SocialNetwork, *contextInfo()->labelIndex);
    if (stored) {
        m_labeledValue = *stored;
    } else {
        m_labeledValue = {{PersonKey::Value, QStringLiteral("new")},
                          {PersonKey::Label, StoreSocialService::Twitter}};
        QNPerson::updateSNSValue(m_labeledValue);
        m_labeledValue.insert(PersonKey::LabelIndex, -1);
    }
    // A service the labels lack (one a custom list left out, or one another program wrote, such as
    // "mastodon") is still offered under its own name: the popup shows it, and switching away and
    // back finds it again. "No service" is no service to offer.
    const QString service = text(m_labeledValue, PersonKey::Label);
    if (!service.isEmpty() && service != PersonKey::NoService && !m_labels.contains(service))
        m_labels.append(service);
}

void SNSViewController::updateUI()
{
    const bool editable = isEditable();
    m_servicePopup->setEnabled(editable);
    for (QLineEdit *field : {m_usernameField, m_userIdentifierField, m_URLStringField})
        field->setReadOnly(!editable);
    fillServicePopup();
    m_usernameField->setText(text(m_labeledValue, StoreValueKey::Username));
    m_userIdentifierField->setText(text(m_labeledValue, StoreValueKey::UserIdentifier));
    m_URLStringField->setText(text(m_labeledValue, StoreValueKey::UrlString));
}

void SNSViewController::fillServicePopup()
{
    const QSignalBlocker blocker(m_servicePopup);
    m_servicePopup->clear();
    for (const QString &service : std::as_const(m_labels))
        m_servicePopup->addItem(LabelPopup::localizedLabel(service), service);
    const QString service = text(m_labeledValue, PersonKey::Label);
    const int selected = int(m_labels.indexOf(service));
    // A profile without a service selects none and is named as the detail pane names it.
    m_servicePopup->setPlaceholderText(selected < 0 ? LabelPopup::localizedLabel(service) : QString());
    m_servicePopup->setCurrentIndex(selected);
}

void SNSViewController::serviceChosen(int index)
{
    const QString service = m_servicePopup->itemData(index).toString();
    // Picking the service already shown changes nothing, so Done has nothing to write.
    if (service == text(m_labeledValue, PersonKey::Label))
        return;
    const EditorContextPtr context = contextInfo();
    QNPerson *edited = person();
    std::optional<QVariantMap> stored;
    if (!isNewEntry() && edited)
        stored = edited->labeledValueForIdentifierAtLabelIndex(SocialNetwork, *context->labelIndex);
    if (stored && text(*stored, PersonKey::Label) == service) {
        m_labeledValue = *stored;
    } else {
        m_labeledValue.insert(PersonKey::Label, service);
        m_labeledValue.insert(PersonKey::Value, QString());
        m_labeledValue.insert(StoreValueKey::UserIdentifier, QString());
        m_labeledValue.insert(StoreValueKey::UrlString, QString());
        QNPerson::updateSNSValue(m_labeledValue);
    }
    updateUI();
    noteChange();
    setReturnPressesDone(true);
}

void SNSViewController::textChanged()
{
    m_labeledValue.insert(PersonKey::Value, m_usernameField->text());
    m_labeledValue.insert(StoreValueKey::UserIdentifier, m_userIdentifierField->text());
    m_labeledValue.insert(StoreValueKey::UrlString, m_URLStringField->text());
    QNPerson::updateSNSValue(m_labeledValue);
    noteChange();
    setReturnPressesDone(true);
}

void SNSViewController::finishEditing()
{
    commit(m_labeledValue);
}
