#pragma once

#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class QCheckBox;
class QComboBox;

// What the label and envelope tabs share: which parts of the address text are printed, the
// honorific after the name, and vertical text with its font. setUp() fills the controls from the
// style's options without reporting a change; a change by the user is reported with changed().
class AddressTextSwitches : public QWidget
{
    Q_OBJECT

public:
    explicit AddressTextSwitches(QWidget *parent = nullptr);

    // Also stores the first offered font as "verticalFontName" when the options have none.
    void setUp(QVariantMap &options, const QStringList &verticalFonts);
    void write(QVariantMap &options) const;

    QCheckBox *printFrameSwitch() const { return m_printFrame; }
    QCheckBox *printCountrySwitch() const { return m_printCountry; }
    QCheckBox *printCompanySwitch() const { return m_printCompany; }
    QCheckBox *printPrefixSwitch() const { return m_printPrefix; }
    QCheckBox *drawVerticalSwitch() const { return m_drawVertical; }
    QComboBox *keishouPopup() const { return m_keishou; }
    QComboBox *fontPopup() const { return m_font; }

signals:
    void changed();

private:
    QCheckBox *addSwitch(const char *title);

    QCheckBox *m_printFrame = nullptr;
    QCheckBox *m_printCountry = nullptr;
    QCheckBox *m_printCompany = nullptr;
    QCheckBox *m_printPrefix = nullptr;
    QCheckBox *m_drawVertical = nullptr;
    QComboBox *m_keishou = nullptr;
    QComboBox *m_font = nullptr;
};
