#pragma once

#include "editors/ValueEditor.h"

class NameOrderingPopup;
class QLineEdit;

// The popover that edits a contact's phonetic first, middle and last name. The header previews
// the phonetic name as it is typed; the contact's name ordering is shown, not edited. Done hands
// back a PhoneticNameDict.
class PhoneticNameViewController : public ValueEditor
{
    Q_OBJECT

public:
    explicit PhoneticNameViewController(QWidget *parent = nullptr);

    QLineEdit *firstNameField() const { return m_firstNameField; }
    QLineEdit *middleNameField() const { return m_middleNameField; }
    QLineEdit *lastNameField() const { return m_lastNameField; }
    NameOrderingPopup *nameOrderingPopup() const { return m_nameOrderingPopup; }

protected:
    bool honoursEditEnabled() const override { return true; }
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;

private:
    QVariantMap phoneticName() const;
    void nameChanged();

    QLineEdit *m_firstNameField;
    QLineEdit *m_middleNameField;
    QLineEdit *m_lastNameField;
    NameOrderingPopup *m_nameOrderingPopup;
};
