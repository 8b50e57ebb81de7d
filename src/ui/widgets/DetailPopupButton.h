#pragma once

#include <QComboBox>

// A popup of the detail table. The wheel scrolls the table instead of changing the choice, so
// that scrolling past a label popup never relabels a value.
class DetailPopupButton : public QComboBox
{
    Q_OBJECT

public:
    explicit DetailPopupButton(QWidget *parent = nullptr);

    // A popup of the display texts of `keys` with item `selected` chosen (none when out of range),
    // kept to its own size: the table stretches its cells.
    static DetailPopupButton *withKeys(const QStringList &keys, int selected, const QFont &font);

protected:
    void wheelEvent(QWheelEvent *event) override;
};
