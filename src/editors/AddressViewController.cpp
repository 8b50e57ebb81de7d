#include "editors/AddressViewController.h"

#include "addressbook/TextFormat.h"
#include "editors/AddressCountryMenu.h"
#include "editors/AddressStateList.h"
#include "editors/JapanPostalCodes.h"
#include "editors/PostalCodeCache.h"
#include "model/QNPersonKeys.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/StoreContact.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const QString AddressIdentifier = QStringLiteral("Address");
const QString Japan = QStringLiteral("JP");
// Japan Post's row for "every other address under this code": no street to fill in.
const QString NoListedStreet = QStringLiteral("以下に掲載がない場合");
constexpr int MinimumLookupLength = 3;

void showText(QLineEdit *field, const QVariantMap &address, const QString &key)
{
    // Only when present, and without moving the cursor of the field being typed in.
    if (!address.contains(key))
        return;
    const QString text = address.value(key).toString();
    if (field->text() != text)
        field->setText(text);
}

} // namespace

AddressViewController::AddressViewController(QWidget *parent)
    : ValueEditor(parent), m_labelPopup(new QComboBox), m_countryCodePopup(new QPushButton),
      m_countryField(new QLineEdit), m_zipField(new QLineEdit), m_zipButton(new QPushButton(L(QStringLiteral("Lookup")))),
      m_lookupMessage(new QLabel), m_stateField(new QLineEdit), m_statePulldown(new QComboBox),
      m_showCodeCheckBox(new QCheckBox(L(QStringLiteral("Code")))), m_cityField(new QLineEdit),
      m_streetField(new QLineEdit), m_postalAddressField(new QLabel)
{
    setUpChrome(buildBody());

    for (QLineEdit *field : {m_countryField, m_zipField, m_stateField, m_cityField, m_streetField})
        connect(field, &QLineEdit::textEdited, this, &AddressViewController::controlTextDidChange);
    connect(m_zipField, &QLineEdit::editingFinished, this, &AddressViewController::textFieldChanged);
    connect(m_zipField, &QLineEdit::textEdited, m_lookupMessage, &QLabel::clear);
    connect(m_zipButton, &QPushButton::clicked, this, &AddressViewController::lookup);
    connect(m_labelPopup, &QComboBox::activated, this, &AddressViewController::labelChanged);
    connect(m_statePulldown, &QComboBox::activated, this, &AddressViewController::statePulldownChanged);
    connect(m_showCodeCheckBox, &QCheckBox::clicked, this, &AddressViewController::checkBoxDidChange);
    m_zipButton->setEnabled(false);

    // Opening never waits for the tables: they load on the pool, and a lookup waits only when
    // pressed before they are in.
    preload();
}

QWidget *AddressViewController::buildBody()
{
    m_countryField->setPlaceholderText(L(QStringLiteral("Country")));
    m_zipField->setPlaceholderText(L(QStringLiteral("ZIP")));
    m_stateField->setPlaceholderText(L(QStringLiteral("State")));
    m_cityField->setPlaceholderText(L(QStringLiteral("City")));
    m_streetField->setPlaceholderText(L(QStringLiteral("Street")));
    m_postalAddressField->setWordWrap(true);
    m_postalAddressField->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_postalAddressField->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto *body = new QWidget;
    auto *grid = new QGridLayout(body);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    grid->addWidget(m_labelPopup, 0, 0);
    grid->addWidget(m_countryCodePopup, 0, 1, 1, 2);
    grid->addWidget(m_countryField, 1, 0, 1, 3);
    grid->addWidget(m_zipField, 2, 0);
    grid->addWidget(m_zipButton, 2, 1);
    grid->addWidget(m_lookupMessage, 2, 2);
    grid->addWidget(m_stateField, 3, 0);
    grid->addWidget(m_statePulldown, 3, 1);
    grid->addWidget(m_showCodeCheckBox, 3, 2);
    grid->addWidget(m_cityField, 4, 0, 1, 3);
    grid->addWidget(m_streetField, 5, 0, 1, 3);
    grid->addWidget(m_postalAddressField, 6, 0, 1, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(0, 1);
    return body;
}

const QStringList &AddressViewController::zipdb()
{
    return PostalCodeCache::shared().texts();
}

QFuture<void> AddressViewController::preload()
{
    return Dispatch::runInBackground([] { zipdb(); });
}

QVariantList AddressViewController::addressesFromZip(const QString &zip)
{
    return JapanPostalCodes::addressesFromZip(zipdb(), zip);
}

void AddressViewController::loadContext()
{
    loadLabels();
    const QStringList languages = Localizer::shared().preferredLanguages();
    m_languageCode = languages.isEmpty() ? QString() : languages.first().left(2);
    m_addressFormatDict = QNPerson::addressFormatDict();
    m_defaultCountryCode = person() ? person()->defaultCountryCode().toUpper() : QString();
    buildCountryMenu();
    m_labeledValue = workingCopy();
    m_lookupMessage->clear();

    m_selectedCountryCode = m_labeledValue.value(StoreValueKey::ISOCountryCode).toString().toUpper();
    QString stateCountry = m_selectedCountryCode;
    if (!m_selectedCountryCode.isEmpty()) {
        m_countryCodePopup->setText(
            TextFormat::fill(QStringLiteral("%@ (%@)"), {m_selectedCountryCode, countryNameOf(m_selectedCountryCode)}));
    } else {
        stateCountry = predictedCountryCode();
        if (stateCountry.isEmpty())
            stateCountry = m_defaultCountryCode;
        m_countryCodePopup->setText(AddressCountryMenu::defaultTitle(m_defaultCountryCode));
    }
    m_showCodeCheckBox->setEnabled(true);
    m_showCodeCheckBox->setChecked(true);
    initStatePulldown(stateCountry);
    m_zipField->setFocus();
}

void AddressViewController::loadLabels()
{
    m_labels = QNPerson::labelTableDict().value(AddressIdentifier);
    m_localizedLabels = QNPerson::localizedLabelsForIdentifier(AddressIdentifier).value_or(m_labels);
}

void AddressViewController::buildCountryMenu()
{
    delete m_countryMenu;
    m_countryMenu = new AddressCountryMenu(m_defaultCountryCode, m_addressFormatDict, this);
    m_countryCodePopup->setMenu(m_countryMenu);
    connect(m_countryMenu, &AddressCountryMenu::countryChosen, this,
            &AddressViewController::countryCodePopupDidChange);
}

QVariantMap AddressViewController::workingCopy() const
{
    const EditorContextPtr context = contextInfo();
    if (!isNewAddress()) {
        if (context->addressValue)
            return *context->addressValue;
        if (person()) {
            if (auto entry = person()->labeledValueForIdentifierAtLabelIndex(AddressIdentifier, *context->labelIndex))
                return *entry;
        }
        return {};
    }
    QVariantMap address{{PersonKey::Label, QStringLiteral("home")}, {PersonKey::ZIP, QStringLiteral("123")}};
    QNPerson::updateAddressValue(address, 1);
    address.insert(PersonKey::LabelIndex, -1);
    return address;
}

bool AddressViewController::isNewAddress() const
{
    const EditorContextPtr context = contextInfo();
    return !context || !context->labelIndex || *context->labelIndex == -1;
}

const QNPerson::AddressFormatEntry *AddressViewController::formatOf(const QString &code) const
{
    const auto it = m_addressFormatDict.constFind(code);
    return it == m_addressFormatDict.cend() ? nullptr : &it.value();
}

QString AddressViewController::predictedCountryCode() const
{
    // An empty name would match a table row with an empty name field.
    const QString country = m_labeledValue.value(PersonKey::Country).toString();
    return country.isEmpty() ? QString() : QNPerson::predictCountryCode(country.toUpper());
}

QString AddressViewController::countryNameOf(const QString &code) const
{
    const QNPerson::AddressFormatEntry *entry = formatOf(code);
    return entry ? AddressCountryMenu::countryName(*entry, m_languageCode) : QString();
}

QString AddressViewController::unlockedDoneTitle() const
{
    return L(isNewAddress() ? QStringLiteral("Add") : QStringLiteral("Change"));
}

void AddressViewController::updateUI()
{
    const bool editable = isEditable();
    m_labelPopup->setEnabled(editable);
    m_countryCodePopup->setEnabled(editable);
    for (QLineEdit *field : {m_countryField, m_zipField, m_stateField, m_cityField, m_streetField})
        field->setReadOnly(!editable);
    showLabel();

    QString effectiveCode = m_labeledValue.value(StoreValueKey::ISOCountryCode).toString().toUpper();
    if (effectiveCode.isEmpty())
        effectiveCode = predictedCountryCode();
    m_selectedCountryCode = effectiveCode;
    if (effectiveCode.isEmpty())
        effectiveCode = m_defaultCountryCode;

    showAddress();
    showLookupButton(effectiveCode);
    initStatePulldown(effectiveCode);
}

void AddressViewController::showLabel()
{
    {
        const QSignalBlocker blocker(m_labelPopup);
        m_labelPopup->clear();
        m_labelPopup->addItems(m_localizedLabels);
    }
    if (!m_labeledValue.contains(PersonKey::Label)) {
        m_labelPopup->setCurrentIndex(0);
        m_labelPopup->setEnabled(false);
        return;
    }
    const qsizetype position = m_labels.indexOf(m_labeledValue.value(PersonKey::Label).toString());
    m_labelPopup->setCurrentIndex(position < 0 ? 0 : static_cast<int>(position));
}

void AddressViewController::showAddress()
{
    QNPerson::updateAddressValue(m_labeledValue, 1);
    showText(m_countryField, m_labeledValue, PersonKey::Country);
    showText(m_zipField, m_labeledValue, PersonKey::ZIP);
    showText(m_stateField, m_labeledValue, PersonKey::State);
    showText(m_cityField, m_labeledValue, PersonKey::City);
    showText(m_streetField, m_labeledValue, PersonKey::Street);
    m_postalAddressField->setText(m_labeledValue.value(PersonKey::FormattedString).toString());
}

void AddressViewController::showLookupButton(const QString &effectiveCode)
{
    const bool japan = effectiveCode == Japan;
    m_zipButton->setVisible(japan);
    m_zipButton->setEnabled(japan && isEditable() && !m_zipField->text().isEmpty());
    if (!japan)
        m_lookupMessage->clear();
}

void AddressViewController::initStatePulldown(const QString &code)
{
    const AddressStateList list =
        AddressStateList::forCountry(formatOf(code), m_languageCode, m_showCodeCheckBox->isChecked());
    if (list.known) {
        m_showCodeCheckBox->setEnabled(list.checkBoxEnabled);
        if (list.checkBoxState)
            m_showCodeCheckBox->setChecked(*list.checkBoxState);
    }
    const QSignalBlocker blocker(m_statePulldown);
    m_statePulldown->clear();
    m_statePulldown->addItem(L(QStringLiteral("States")));
    m_statePulldown->addItems(list.states);
    m_statePulldown->setCurrentIndex(0);
    m_statePulldown->setEnabled(!list.states.isEmpty());
}

void AddressViewController::controlTextDidChange()
{
    m_labeledValue.insert(PersonKey::Country, m_countryField->text());
    m_labeledValue.insert(PersonKey::ZIP, m_zipField->text());
    m_labeledValue.insert(PersonKey::State, m_stateField->text());
    m_labeledValue.insert(PersonKey::City, m_cityField->text());
    m_labeledValue.insert(PersonKey::Street, m_streetField->text());
    updateUI();
    noteChange();
}

void AddressViewController::labelChanged(int index)
{
    if (index >= 0 && index < m_labels.size())
        m_labeledValue.insert(PersonKey::Label, m_labels.at(index));
    noteChange();
}

void AddressViewController::statePulldownChanged(int index)
{
    const QString state = index > 0 ? m_statePulldown->itemText(index) : QString();
    if (!state.isEmpty() && isEditable())
        m_labeledValue.insert(PersonKey::State, state);
    updateUI();
    noteChange();
}

void AddressViewController::countryCodePopupDidChange(const QString &code, const QString &title)
{
    if (!isEditable())
        return;
    const QString stored = m_labeledValue.value(StoreValueKey::ISOCountryCode).toString().toUpper();
    const bool isDefault = code == AddressCountryMenu::DefaultCode;
    if ((isDefault && stored.isEmpty()) || code == stored)
        return;
    QString nameCode = code;
    if (isDefault) {
        m_labeledValue.remove(StoreValueKey::ISOCountryCode);
        nameCode = m_defaultCountryCode;
    } else {
        m_labeledValue.insert(StoreValueKey::ISOCountryCode, code);
    }
    m_selectedCountryCode = isDefault ? QString() : code;
    m_countryCodePopup->setText(title);
    const QString name = countryNameOf(nameCode);
    if (!name.isEmpty()) {
        m_countryField->setText(name);
        m_labeledValue.insert(PersonKey::Country, name);
    }
    updateUI();
    noteChange();
}

void AddressViewController::checkBoxDidChange()
{
    initStatePulldown(m_selectedCountryCode.isEmpty() ? m_defaultCountryCode : m_selectedCountryCode);
}

void AddressViewController::textFieldChanged()
{
    if (m_zipField->text().size() < MinimumLookupLength) {
        m_zipButton->setEnabled(false);
        return;
    }
    const bool japan = m_selectedCountryCode == Japan || (m_selectedCountryCode.isEmpty() && m_defaultCountryCode == Japan);
    if (japan && isEditable())
        m_zipButton->setEnabled(true);
}

void AddressViewController::lookup()
{
    const QString zip = m_zipField->text();
    if (zip.isEmpty() || !isEditable())
        return;
    const bool waiting = !PostalCodeCache::shared().isLoaded();
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    const QVariantList records = addressesFromZip(zip);
    if (waiting)
        QApplication::restoreOverrideCursor();
    if (records.isEmpty()) {
        // Said beside the field: a text in the field would be saved as the postal code.
        QApplication::beep();
        m_lookupMessage->setText(L(QStringLiteral("Do not find")));
        return;
    }
    m_lookupMessage->clear();
    applyPostalRecord(records.first().toMap());
    updateUI();
    noteChange();
    m_streetField->setFocus();
}

void AddressViewController::applyPostalRecord(const QVariantMap &record)
{
    if (record.contains(PersonKey::State))
        m_labeledValue.insert(PersonKey::State, record.value(PersonKey::State));
    m_labeledValue.insert(PersonKey::City, record.value(PersonKey::City).toString());
    const QString street = record.value(PersonKey::Street).toString();
    m_labeledValue.insert(PersonKey::Street, street == NoListedStreet ? QString() : street);
}

void AddressViewController::finishEditing()
{
    QNPerson::updateAddressValue(m_labeledValue, 1);
    const QVariantMap address = m_labeledValue;
    clearFields();
    commit(address);
}

void AddressViewController::clearFields()
{
    contactNameField()->clear();
    for (QLineEdit *field : {m_countryField, m_zipField, m_stateField, m_cityField, m_streetField})
        field->clear();
}
