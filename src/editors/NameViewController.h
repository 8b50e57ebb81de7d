#pragma once

#include "editors/ValueEditor.h"

#include <QVariantMap>

class NameOrderingPopup;
class QComboBox;
class QLineEdit;

// The popover that edits a contact's name: first, middle and last name, and whether the contact
// shows as a person or as its company. The previous family name, the company and the name ordering
// are shown, not edited; the previous family name and the ordering are handed back as shown.
// Done hands back a NameDict.
class NameViewController : public ValueEditor
{
    Q_OBJECT

public:
    explicit NameViewController(QWidget *parent = nullptr);

    // The NameDict that Done hands back, rebuilt from the fields on every change.
    QVariantMap nameDict() const { return m_nameDict; }

    QLineEdit *compositeNameField() const { return contactNameField(); }
    QLineEdit *firstNameField() const { return m_firstNameField; }
    QLineEdit *middleNameField() const { return m_middleNameField; }
    QLineEdit *lastNameField() const { return m_lastNameField; }
    QLineEdit *previousFamilyNameField() const { return m_previousFamilyNameField; }
    QLineEdit *companyField() const { return m_companyField; }
    NameOrderingPopup *nameOrderingPopup() const { return m_nameOrderingPopup; }
    QComboBox *showAsPersonPopup() const { return m_showAsPersonPopup; }

protected:
    bool honoursEditEnabled() const override { return true; }
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;

private:
    void updateNameDict();
    void nameChanged();

    QLineEdit *m_firstNameField;
    QLineEdit *m_middleNameField;
    QLineEdit *m_lastNameField;
    QLineEdit *m_previousFamilyNameField;
    QLineEdit *m_companyField;
    NameOrderingPopup *m_nameOrderingPopup;
    QComboBox *m_showAsPersonPopup;
    QVariantMap m_nameDict;
};
