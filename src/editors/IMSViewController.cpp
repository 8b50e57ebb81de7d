#include "editors/IMSViewController.h"

#include "editors/InstantMessageServices.h"
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

const QString InstantMessage = QStringLiteral("Instant Message");

} // namespace

IMSViewController::IMSViewController(QWidget *parent)
    : ValueEditor(parent), m_labelPopup(new QComboBox), m_servicePopup(new QComboBox),
      m_usernameField(new QLineEdit)
{
    auto *body = new QWidget;
    auto *layout = new QFormLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addRow(L(QStringLiteral("Label")) + QLatin1Char(':'), m_labelPopup);
    layout->addRow(L(QStringLiteral("Service Type")) + QLatin1Char(':'), m_servicePopup);
    layout->addRow(m_usernameField);
    m_usernameField->setPlaceholderText(L(QStringLiteral("username")));
    LabelPopup::drawPlaceholderAsLabel(*m_labelPopup);
    setUpChrome(body);

    connect(m_labelPopup, &QComboBox::activated, this, &IMSViewController::labelChosen);
    connect(m_servicePopup, &QComboBox::activated, this, &IMSViewController::serviceChosen);
    connect(m_usernameField, &QLineEdit::textEdited, this, &IMSViewController::textChanged);
}

bool IMSViewController::isNewEntry() const
{
    const EditorContextPtr context = contextInfo();
    return !context || !context->labelIndex || *context->labelIndex < 0;
}

QString IMSViewController::unlockedDoneTitle() const
{
    return L(isNewEntry() ? QStringLiteral("Add") : QStringLiteral("Change"));
}

void IMSViewController::loadContext()
{
    QNPerson *edited = person();
    std::optional<QVariantMap> stored;
    if (!isNewEntry() && edited)
        stored = edited->labeledValueForIdentifierAtLabelIndex(InstantMessage, *contextInfo()->labelIndex);
    if (stored) {
        m_labeledValue = *stored;
        // The older identifiers are shown, and written back, as the services they stand for.
        const QString service = m_labeledValue.value(StoreValueKey::Service).toString();
        if (!service.isEmpty())
            m_labeledValue.insert(StoreValueKey::Service, InstantMessageServices::currentService(service));
        QNPerson::updateIMSValue(m_labeledValue);
    } else {
        m_labeledValue = {{PersonKey::Value, QStringLiteral("new")},
                          {StoreValueKey::Service, StoreIMService::AIM},
                          {PersonKey::Label, QStringLiteral("home")}};
        QNPerson::updateIMSValue(m_labeledValue);
        m_labeledValue.insert(PersonKey::LabelIndex, -1);
    }
    m_services =
        InstantMessageServices::servicesOffering(m_labeledValue.value(StoreValueKey::Service).toString());
}

void IMSViewController::updateUI()
{
    const bool editable = isEditable();
    fillLabelPopup();
    fillServicePopup();
    m_labelPopup->setEnabled(editable && m_labeledValue.contains(PersonKey::Label));
    m_servicePopup->setEnabled(editable);
    m_usernameField->setReadOnly(!editable);
    m_usernameField->setText(m_labeledValue.value(StoreValueKey::Username).toString());
}

void IMSViewController::fillLabelPopup()
{
    const QSignalBlocker blocker(m_labelPopup);
    const LabelPopup labels(InstantMessage, m_labeledValue.value(PersonKey::Label).toString(), true);
    m_labelPopup->clear();
    for (const LabelPopup::Item &item : labels.items())
        m_labelPopup->addItem(item.title, item.label);
    // An entry without a label selects no item, which would give it one on Done; the popup names
    // the want of a label as the detail pane does.
    m_labelPopup->setPlaceholderText(labels.selectedIndex() < 0 ? labels.title() : QString());
    m_labelPopup->setCurrentIndex(labels.selectedIndex());
}

void IMSViewController::fillServicePopup()
{
    const QSignalBlocker blocker(m_servicePopup);
    m_servicePopup->clear();
    for (const QString &service : std::as_const(m_services))
        m_servicePopup->addItem(LabelPopup::localizedLabel(service), service);
    const QString service = m_labeledValue.value(StoreValueKey::Service).toString();
    m_servicePopup->setCurrentIndex(int(m_services.indexOf(service)));
}

void IMSViewController::labelChosen(int index)
{
    m_labeledValue.insert(PersonKey::Label, m_labelPopup->itemData(index).toString());
    changed();
}

void IMSViewController::serviceChosen(int index)
{
    const QString service = m_servicePopup->itemData(index).toString();
    // Picking the service already shown changes nothing, so Done has nothing to write.
    if (service == m_labeledValue.value(StoreValueKey::Service).toString())
        return;
    m_labeledValue.insert(StoreValueKey::Service, service);
    QNPerson::updateIMSValue(m_labeledValue);
    changed();
}

void IMSViewController::textChanged(const QString &text)
{
    m_labeledValue.insert(PersonKey::Value, text);
    QNPerson::updateIMSValue(m_labeledValue);
    changed();
}

void IMSViewController::changed()
{
    noteChange();
    setReturnPressesDone(true);
}

void IMSViewController::finishEditing()
{
    commit(m_labeledValue);
}
