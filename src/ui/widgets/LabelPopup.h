#pragma once

#include <QList>
#include <QString>

#include <optional>

class QComboBox;

// The label popup of a labelled value (a grid cell, a row of a value editor): in edit state every
// label of the field, with the value's own selected; locked, the value's label alone. Items carry
// the stored label, never only their display text.
class LabelPopup
{
public:
    struct Item
    {
        QString title;
        // The stored label the item stands for.
        QString label;
        // The user's own label, drawn in grey.
        bool custom = false;
    };

    // kind: the field whose labels are offered ("Address" for the address parts); label: the
    // value's stored label.
    LabelPopup(const QString &kind, const QString &label, bool editState);

    const QList<Item> &items() const { return m_items; }
    // -1 when no item stands for the value's label.
    int selectedIndex() const { return m_selectedIndex; }
    // What the closed popup shows.
    QString title() const;
    bool isCustom() const;
    // The label that choosing the item writes; nullopt when the choice must change nothing, as in
    // a locked grid, whose single item is no position in the field's label list.
    std::optional<QString> labelForItem(int index) const;

    // The display text of a stored label.
    static QString localizedLabel(const QString &label);
    // A popup that selects no item for a label it does not list ("No label") shows the label as its
    // placeholder; it reads as the value's label, like any other, not as a grey hint (grey is for
    // the user's own labels).
    static void drawPlaceholderAsLabel(QComboBox &popup);

private:
    QList<Item> m_items;
    int m_selectedIndex = -1;
    QString m_label;
    bool m_editState;
};
