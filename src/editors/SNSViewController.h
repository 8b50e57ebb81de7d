#pragma once

#include "editors/ValueEditor.h"

#include <QStringList>
#include <QVariantMap>

class QComboBox;
class QLineEdit;

// The popover that edits one social profile: its service, username, user identifier and URL.
// Done hands back the working entry, "labelIndex" -1 when new. Switching to another service
// starts the profile empty; switching back to the stored service brings the stored one back. A
// service the labels do not list is offered too, under its own name, and kept unless another is
// picked.
class SNSViewController : public ValueEditor
{
    Q_OBJECT

public:
    explicit SNSViewController(QWidget *parent = nullptr);

    QVariantMap labeledValue() const { return m_labeledValue; }
    // The services the popup offers.
    QStringList labels() const { return m_labels; }

    QComboBox *servicePopup() const { return m_servicePopup; }
    QLineEdit *usernameField() const { return m_usernameField; }
    QLineEdit *userIdentifierField() const { return m_userIdentifierField; }
    QLineEdit *URLStringField() const { return m_URLStringField; }

protected:
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;
    QString unlockedDoneTitle() const override;
    bool cancelWritesDirty() const override { return true; }

private:
    bool isNewEntry() const;
    void fillServicePopup();
    void serviceChosen(int index);
    void textChanged();

    QComboBox *m_servicePopup;
    QLineEdit *m_usernameField;
    QLineEdit *m_userIdentifierField;
    QLineEdit *m_URLStringField;
    QVariantMap m_labeledValue;
    QStringList m_labels;
};
