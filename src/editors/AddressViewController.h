#pragma once

#include "editors/ValueEditor.h"
#include "model/QNPerson.h"

#include <QFuture>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class AddressCountryMenu;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The popover that edits one postal address: label, country, postal code with a lookup for
// Japan, state (typed or chosen from the country's list), city and street, with the formatted
// address below. Done hands back the AddressDict, its "labelIndex" -1 when it is new; Cancel
// says "dirty" false.
class AddressViewController : public ValueEditor
{
    Q_OBJECT

public:
    explicit AddressViewController(QWidget *parent = nullptr);

    // The postal-code tables, loaded on first use; any thread may ask.
    static const QStringList &zipdb();
    // Starts loading the tables on the pool, so that the first lookup need not wait.
    static QFuture<void> preload();
    // The postal records of a typed code, residential ones first.
    static QVariantList addressesFromZip(const QString &zip);

    QVariantMap labeledValue() const { return m_labeledValue; }
    QString selectedCountryCode() const { return m_selectedCountryCode; }
    QString defaultCountryCode() const { return m_defaultCountryCode; }

    QComboBox *labelPopup() const { return m_labelPopup; }
    QPushButton *countryCodePopup() const { return m_countryCodePopup; }
    AddressCountryMenu *countryMenu() const { return m_countryMenu; }
    QLineEdit *countryField() const { return m_countryField; }
    QLineEdit *zipField() const { return m_zipField; }
    QPushButton *zipButton() const { return m_zipButton; }
    // Says what the last lookup found, beside the ZIP field.
    QLabel *lookupMessage() const { return m_lookupMessage; }
    QLineEdit *stateField() const { return m_stateField; }
    QComboBox *statePulldown() const { return m_statePulldown; }
    QCheckBox *showCodeCheckBox() const { return m_showCodeCheckBox; }
    QLineEdit *cityField() const { return m_cityField; }
    QLineEdit *streetField() const { return m_streetField; }
    QLabel *postalAddressField() const { return m_postalAddressField; }

protected:
    // Cancel tells the presenter that nothing is to be applied.
    bool cancelWritesDirty() const override { return true; }
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;
    QString unlockedDoneTitle() const override;

private:
    QWidget *buildBody();
    void loadLabels();
    void buildCountryMenu();
    QVariantMap workingCopy() const;
    const QNPerson::AddressFormatEntry *formatOf(const QString &code) const;
    QString countryNameOf(const QString &code) const;
    QString predictedCountryCode() const;
    void showAddress();
    void showLabel();
    void showLookupButton(const QString &effectiveCode);
    void initStatePulldown(const QString &code);
    bool isNewAddress() const;

    void controlTextDidChange();
    void labelChanged(int index);
    void statePulldownChanged(int index);
    void countryCodePopupDidChange(const QString &code, const QString &title);
    void checkBoxDidChange();
    void textFieldChanged();
    void lookup();
    void applyPostalRecord(const QVariantMap &record);
    void clearFields();

    QComboBox *m_labelPopup;
    QPushButton *m_countryCodePopup;
    AddressCountryMenu *m_countryMenu = nullptr;
    QLineEdit *m_countryField;
    QLineEdit *m_zipField;
    QPushButton *m_zipButton;
    QLabel *m_lookupMessage;
    QLineEdit *m_stateField;
    QComboBox *m_statePulldown;
    QCheckBox *m_showCodeCheckBox;
    QLineEdit *m_cityField;
    QLineEdit *m_streetField;
    QLabel *m_postalAddressField;

    QVariantMap m_labeledValue;
    QStringList m_labels;
    QStringList m_localizedLabels;
    QString m_defaultCountryCode;
    QString m_selectedCountryCode;
    QString m_languageCode;
    QNPerson::AddressFormatDict m_addressFormatDict;
};
