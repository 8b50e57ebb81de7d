#pragma once

#include "platform/widgets/Sheet.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The sheet that asks for the text (and for replacing, the label) that the grid's item commands
// put into the chosen cells. The caller sets the fields, sends updateUI and begins the sheet; on
// return code 1 it reads label() and replaceString().
class ReplaceAlertPanel : public Sheet
{
    Q_OBJECT

public:
    // The command the sheet was opened for; Other keeps the sheet's texts as they are.
    enum class Mode
    {
        AddLabelAndText,
        ReplaceLabelAndText,
        ReplaceText,
        PrependText,
        AppendText,
        Other,
    };

    explicit ReplaceAlertPanel(QWidget *parent = nullptr);

    Mode type() const { return m_type; }
    void setType(Mode type) { m_type = type; }
    QString identifier() const { return m_identifier; }
    void setIdentifier(const QString &identifier) { m_identifier = identifier; }
    // Stored labels and their display titles, in the same order.
    QStringList labels() const { return m_labels; }
    void setLabels(const QStringList &labels) { m_labels = labels; }
    QStringList localizedLabels() const { return m_localizedLabels; }
    void setLocalizedLabels(const QStringList &labels) { m_localizedLabels = labels; }
    // The chosen label in its stored form; null when the popup offers none.
    QString label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    QString replaceString() const { return m_replaceString; }
    void setReplaceString(const QString &text) { m_replaceString = text; }

    void updateUI();

    // Actions.
    void popupSelected(int index);
    void textFieldChanged(const QString &text);
    void okPressed();
    void cancelPressed();

    void setVisible(bool visible) override;

    QLabel *replaceAlertMessage() const { return m_message; }
    QComboBox *columnPopup() const { return m_columnPopup; }
    QComboBox *labelPopup() const { return m_labelPopup; }
    QLineEdit *replaceTextField() const { return m_textField; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

private:
    void buildLayout();
    void fillLabelPopup();
    void applyMode();

    QLabel *m_message;
    QLabel *m_columnTitle;
    QComboBox *m_columnPopup;
    QComboBox *m_labelPopup;
    QLineEdit *m_textField;
    QPushButton *m_cancelButton;
    QPushButton *m_okButton;

    Mode m_type = Mode::Other;
    QString m_identifier;
    QStringList m_labels;
    QStringList m_localizedLabels;
    QString m_label;
    QString m_replaceString;
};
