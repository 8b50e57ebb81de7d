#pragma once

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The controls every print style shares: the unit lengths show in, the four margins, and the
// font's name and size. It only holds them; the accessory fills them and reacts to them.
class SharedOptionsBox : public QWidget
{
    Q_OBJECT

public:
    explicit SharedOptionsBox(QWidget *parent = nullptr);

    QComboBox *unitTypePopup() const { return m_unit; }
    QDoubleSpinBox *topMarginField() const { return m_top; }
    QDoubleSpinBox *leftMarginField() const { return m_left; }
    QDoubleSpinBox *rightMarginField() const { return m_right; }
    QDoubleSpinBox *bottomMarginField() const { return m_bottom; }
    QList<QDoubleSpinBox *> marginFields() const { return {m_top, m_left, m_right, m_bottom}; }
    QLineEdit *fontNameField() const { return m_fontName; }
    QSpinBox *fontSizeField() const { return m_fontSize; }
    QPushButton *showFontButton() const { return m_showFont; }

private:
    QComboBox *m_unit = nullptr;
    QDoubleSpinBox *m_top = nullptr;
    QDoubleSpinBox *m_left = nullptr;
    QDoubleSpinBox *m_right = nullptr;
    QDoubleSpinBox *m_bottom = nullptr;
    QLineEdit *m_fontName = nullptr;
    QSpinBox *m_fontSize = nullptr;
    QPushButton *m_showFont = nullptr;
};
