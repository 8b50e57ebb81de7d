#pragma once

#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class AddressTextSwitches;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// The mailing labels' tab: the label size by preset or by hand (in the shown unit), the labels
// per contact and the address text's switches. setUp() fills it from the "Mailing Labels Options"
// in points without reporting a change; every change by the user is reported with changed().
class MailingLabelsTab : public QWidget
{
    Q_OBJECT

public:
    explicit MailingLabelsTab(QWidget *parent = nullptr);

    void setUp(QVariantMap &options, const QStringList &verticalFonts);
    // Writes the controls into the "Mailing Labels Options", lengths back in points.
    void write(QVariantMap &options) const;
    // The lengths now show in that unit.
    void changeUnit(const QString &unit);
    QString unit() const { return m_unit; }

    // The sizes of the preset at that place in the preset pop-up, as choosing it does.
    void choosePreset(int index);

    QDoubleSpinBox *widthField() const { return m_width; }
    QDoubleSpinBox *heightField() const { return m_height; }
    QDoubleSpinBox *hGapField() const { return m_hGap; }
    QDoubleSpinBox *vGapField() const { return m_vGap; }
    QSpinBox *repeatCountField() const { return m_repeatCount; }
    QComboBox *presetPopup() const { return m_presets; }
    AddressTextSwitches *switches() const { return m_switches; }

signals:
    void changed();

private:
    void fillPresets(const QVariantList &presets);
    QList<QDoubleSpinBox *> lengths() const { return {m_width, m_height, m_hGap, m_vGap}; }

    QComboBox *m_presets = nullptr;
    QDoubleSpinBox *m_width = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    QDoubleSpinBox *m_hGap = nullptr;
    QDoubleSpinBox *m_vGap = nullptr;
    QSpinBox *m_repeatCount = nullptr;
    AddressTextSwitches *m_switches = nullptr;
    QString m_unit;
};
