#include "editors/NameViewController.h"

#include "editors/NameOrderingPopup.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

enum ShowAs
{
    ShowAsPerson,
    ShowAsCompany
};

} // namespace

NameViewController::NameViewController(QWidget *parent)
    : ValueEditor(parent), m_firstNameField(new QLineEdit), m_middleNameField(new QLineEdit),
      m_lastNameField(new QLineEdit), m_previousFamilyNameField(new QLineEdit), m_companyField(new QLineEdit),
      m_nameOrderingPopup(new NameOrderingPopup), m_showAsPersonPopup(new QComboBox)
{
    m_showAsPersonPopup->addItems(
        {L(QStringLiteral("Name Display: Person")), L(QStringLiteral("Name Display: Company"))});
    m_nameOrderingPopup->setToolTip(
        L(QStringLiteral("Sorry, change will not be saved due to the lack of system service.")));
    m_previousFamilyNameField->setReadOnly(true);
    m_companyField->setEnabled(false);

    auto *body = new QWidget;
    auto *form = new QFormLayout(body);
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(4);
    form->addRow(L(PersonKey::FirstName), m_firstNameField);
    form->addRow(L(PersonKey::MiddleName), m_middleNameField);
    form->addRow(L(PersonKey::LastName), m_lastNameField);
    form->addRow(L(PersonKey::PreviousFamilyName), m_previousFamilyNameField);
    form->addRow(QNPerson::localizedIdentifierForKey(PersonIdentifier::Company), m_companyField);
    form->addRow(m_nameOrderingPopup);
    form->addRow(m_showAsPersonPopup);
    setUpChrome(body);
    setReturnPressesDone(true);

    for (QLineEdit *field : {m_firstNameField, m_middleNameField, m_lastNameField})
        connect(field, &QLineEdit::textEdited, this, &NameViewController::nameChanged);
    connect(m_showAsPersonPopup, &QComboBox::activated, this, &NameViewController::nameChanged);
}

void NameViewController::loadContext()
{
    m_nameDict.clear();
    QNPerson *edited = person();
    const QVariantMap name = edited ? edited->nameValue() : QVariantMap();
    m_firstNameField->setText(name.value(PersonKey::FirstName).toString());
    m_middleNameField->setText(name.value(PersonKey::MiddleName).toString());
    m_lastNameField->setText(name.value(PersonKey::LastName).toString());
    m_previousFamilyNameField->setText(name.value(PersonKey::PreviousFamilyName).toString());
    m_nameOrderingPopup->showOrdering(NameOrderingPopup::systemTitleForSortOrder(),
                                      name.value(PersonKey::NameOrdering).toInt());
    m_showAsPersonPopup->setCurrentIndex(name.value(PersonKey::ShowAsPerson, true).toBool() ? ShowAsPerson
                                                                                            : ShowAsCompany);
    m_companyField->setText(edited ? edited->stringValueForIdentifier(PersonIdentifier::Company) : QString());
}

void NameViewController::updateUI()
{
    const bool editable = isEditable();
    for (QLineEdit *field : {m_firstNameField, m_middleNameField, m_lastNameField})
        field->setReadOnly(!editable);
    m_showAsPersonPopup->setEnabled(editable);
}

void NameViewController::nameChanged()
{
    updateNameDict();
    noteChange();
}

void NameViewController::updateNameDict()
{
    m_nameDict = {
        {PersonKey::FirstName, m_firstNameField->text()},
        {PersonKey::MiddleName, m_middleNameField->text()},
        {PersonKey::LastName, m_lastNameField->text()},
        {PersonKey::PreviousFamilyName, m_previousFamilyNameField->text()},
    };
    // The record orders the name by its parts, as the store does: the preview and the popup follow.
    m_nameOrderingPopup->setCurrentIndex(QNPerson::nameOrderingForNameDict(m_nameDict));
    m_nameDict.insert(PersonKey::NameOrdering, m_nameOrderingPopup->ordering());
    const QString composite = QNPerson::compositeNameFromNameDict(m_nameDict);
    m_nameDict.insert(PersonKey::StringValue, composite);
    const bool showAsPerson = m_showAsPersonPopup->currentIndex() == ShowAsPerson;
    m_nameDict.insert(PersonKey::ShowAsPerson, showAsPerson);
    compositeNameField()->setText(showAsPerson ? composite : m_companyField->text());
}

void NameViewController::finishEditing()
{
    updateNameDict();
    commit(m_nameDict);
}
