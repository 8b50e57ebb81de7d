#pragma once

#include <QString>
#include <QVariant>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QWidget;

// The panel's controls as its tabs build and fill them. Filling a control from the options never
// reports itself as a change by the user: the setters here block the control's signals.
namespace PrintControls {

// A length in the shown unit: field and stepper in one. It reports a value when editing ends or a
// step is taken, not at every key, so that a limit applies to what the user meant.
QDoubleSpinBox *makeLengthBox(QWidget *parent, double minimum = -100000);
void setQuietly(QDoubleSpinBox *box, double value);
void setQuietly(QSpinBox *box, int value);
void setQuietly(QCheckBox *box, bool checked);
// Selects the item whose data equals the value; a value without an item leaves the selection.
void selectQuietly(QComboBox *popup, const QVariant &data);
// Converts the box's value from one unit to the other and sets its step for the new one.
void convertQuietly(QDoubleSpinBox *box, const QString &from, const QString &to);

} // namespace PrintControls
