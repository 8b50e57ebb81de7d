#pragma once

#include "editors/ValueEditor.h"

#include <QStringList>
#include <QVariantMap>

class QComboBox;
class QLineEdit;

// The popover that edits one instant-message account: its label, service and username. Done
// hands back the working entry, "labelIndex" -1 when new. An entry stored with an older service
// identifier shows, and is handed back with, the service it stands for; a service the popup does
// not list is offered too, under its own name, and kept unless another is picked.
class IMSViewController : public ValueEditor
{
    Q_OBJECT

public:
    explicit IMSViewController(QWidget *parent = nullptr);

    QVariantMap labeledValue() const { return m_labeledValue; }

    QComboBox *labelPopup() const { return m_labelPopup; }
    QComboBox *servicePopup() const { return m_servicePopup; }
    QLineEdit *usernameField() const { return m_usernameField; }

protected:
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;
    QString unlockedDoneTitle() const override;
    bool cancelWritesDirty() const override { return true; }

private:
    bool isNewEntry() const;
    void fillLabelPopup();
    void fillServicePopup();
    void labelChosen(int index);
    void serviceChosen(int index);
    void textChanged(const QString &text);
    void changed();

    QComboBox *m_labelPopup;
    QComboBox *m_servicePopup;
    QLineEdit *m_usernameField;
    QVariantMap m_labeledValue;
    QStringList m_services;
};
