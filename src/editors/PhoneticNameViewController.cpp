#include "editors/PhoneticNameViewController.h"

#include "editors/NameOrderingPopup.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QFormLayout>
#include <QLineEdit>

PhoneticNameViewController::PhoneticNameViewController(QWidget *parent)
    : ValueEditor(parent), m_firstNameField(new QLineEdit), m_middleNameField(new QLineEdit),
      m_lastNameField(new QLineEdit), m_nameOrderingPopup(new NameOrderingPopup)
{
    m_firstNameField->setPlaceholderText(L(PersonKey::FirstName));
    m_middleNameField->setPlaceholderText(L(PersonKey::MiddleName));
    m_lastNameField->setPlaceholderText(L(PersonKey::LastName));
    auto *body = new QWidget;
    auto *layout = new QFormLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(4);
    layout->addRow(L(PersonKey::FirstName), m_firstNameField);
    layout->addRow(L(PersonKey::MiddleName), m_middleNameField);
    layout->addRow(L(PersonKey::LastName), m_lastNameField);
    layout->addRow(m_nameOrderingPopup);
    setUpChrome(body);
    setReturnPressesDone(true);

    for (QLineEdit *field : {m_firstNameField, m_middleNameField, m_lastNameField})
        connect(field, &QLineEdit::textEdited, this, &PhoneticNameViewController::nameChanged);
}

void PhoneticNameViewController::loadContext()
{
    QNPerson *edited = person();
    const QVariantMap phonetic = edited ? edited->phoneticNameValue().value_or(QVariantMap()) : QVariantMap();
    m_firstNameField->setText(phonetic.value(PersonKey::FirstName).toString());
    m_middleNameField->setText(phonetic.value(PersonKey::MiddleName).toString());
    m_lastNameField->setText(phonetic.value(PersonKey::LastName).toString());
    const int defaultOrdering = edited ? edited->defaultNameOrdering() : 0;
    const int ordering = edited ? edited->nameValue().value(PersonKey::NameOrdering).toInt() : 0;
    m_nameOrderingPopup->showOrdering(NameOrderingPopup::systemTitleForNameOrdering(defaultOrdering),
                                      ordering);
}

void PhoneticNameViewController::updateUI()
{
    for (QLineEdit *field : {m_firstNameField, m_middleNameField, m_lastNameField})
        field->setReadOnly(!isEditable());
}

QVariantMap PhoneticNameViewController::phoneticName() const
{
    QVariantMap name{{PersonKey::FirstName, m_firstNameField->text()},
                     {PersonKey::MiddleName, m_middleNameField->text()},
                     {PersonKey::LastName, m_lastNameField->text()}};
    name.insert(PersonKey::StringValue, QNPerson::compositeNameFromNameDict(name));
    return name;
}

void PhoneticNameViewController::nameChanged()
{
    contactNameField()->setText(phoneticName().value(PersonKey::StringValue).toString());
    noteChange();
}

void PhoneticNameViewController::finishEditing()
{
    commit(phoneticName());
}
