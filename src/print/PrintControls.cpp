#include "print/PrintControls.h"

#include "print/PrintUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>

namespace PrintControls {

QDoubleSpinBox *makeLengthBox(QWidget *parent, double minimum)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setDecimals(2);
    box->setRange(minimum, 100000);
    box->setKeyboardTracking(false);
    box->setAccelerated(true);
    return box;
}

void setQuietly(QDoubleSpinBox *box, double value)
{
    const QSignalBlocker blocker(box);
    box->setValue(value);
}

void setQuietly(QSpinBox *box, int value)
{
    const QSignalBlocker blocker(box);
    box->setValue(value);
}

void setQuietly(QCheckBox *box, bool checked)
{
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
}

void selectQuietly(QComboBox *popup, const QVariant &data)
{
    const int index = popup->findData(data);
    if (index < 0)
        return;
    const QSignalBlocker blocker(popup);
    popup->setCurrentIndex(index);
}

void convertQuietly(QDoubleSpinBox *box, const QString &from, const QString &to)
{
    setQuietly(box, PrintUnit::changeValue(float(box->value()), from, to));
    box->setSingleStep(PrintUnit::step(to));
}

} // namespace PrintControls
