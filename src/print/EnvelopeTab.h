#pragma once

#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class AddressTextSwitches;
class QComboBox;
class QDoubleSpinBox;

// The envelope's tab: the address text's switches, its direction and its box on the paper, in the
// shown unit. Each paper keeps its own box in "textRectDict"; a paper without one gets a third of
// its width by a fifth of its height, centred. setUp() and showPaper() fill the tab without
// reporting a change; every change by the user is reported with changed().
class EnvelopeTab : public QWidget
{
    Q_OBJECT

public:
    explicit EnvelopeTab(QWidget *parent = nullptr);

    // The paper as the print info has it now: its name and its size in points.
    struct Paper
    {
        QString name;
        QSizeF size;
    };

    void setUp(QVariantMap &options, const QStringList &verticalFonts, const Paper &paper, const QString &unit);
    // From now on the box is that paper's: shown as stored for it (else its default), limited by
    // its size and written under its name.
    void showPaper(const QVariantMap &options, const Paper &paper);
    // Writes the controls into the "Envelope Options"; turning the text turns its box.
    void write(QVariantMap &options);
    void changeUnit(const QString &unit);
    QString unit() const { return m_unit; }

    // The box in the shown unit, as its fields show it.
    QRectF textRect() const;

    QDoubleSpinBox *originXField() const { return m_x; }
    QDoubleSpinBox *originYField() const { return m_y; }
    QDoubleSpinBox *widthField() const { return m_width; }
    QDoubleSpinBox *heightField() const { return m_height; }
    QComboBox *directionPopup() const { return m_direction; }
    AddressTextSwitches *switches() const { return m_switches; }

signals:
    void changed();

private:
    void textSizeChanged(QDoubleSpinBox *sender);
    QSizeF paperInUnit() const;
    QList<QDoubleSpinBox *> lengths() const { return {m_x, m_y, m_width, m_height}; }

    AddressTextSwitches *m_switches = nullptr;
    QComboBox *m_direction = nullptr;
    QDoubleSpinBox *m_x = nullptr;
    QDoubleSpinBox *m_y = nullptr;
    QDoubleSpinBox *m_width = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    Paper m_paper;
    QString m_unit;
};
