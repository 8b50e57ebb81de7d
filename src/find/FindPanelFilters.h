#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The find window's three multiple-choice filters (items, sub-items, labels) and their titles.
// ["All"] means no filter; a filter is never empty.
class FindPanelFilters
{
public:
    // One choice of the label filter: a label with its own display text.
    struct LabelChoice
    {
        QString label;
        QString title;
    };

    // selectedItems: the grid's columns (["All"] when empty); customItems: their "Name"s follow
    // the standard identifiers in the item list.
    FindPanelFilters(const QStringList &selectedItems, const QVariantList &customItems);

    // "All", the 19 identifiers with the address parts after "Address", then the custom items.
    const QStringList &items() const { return m_items; }
    // "All", the name and phonetic parts, the address parts, "CountryCode", the services.
    const QStringList &subItems() const { return m_subItems; }
    // "All" first, then one choice per label of each labelled kind, in kind order.
    const QList<LabelChoice> &labelChoices() const { return m_labelChoices; }

    const QStringList &selectedItems() const { return m_selectedItems; }
    const QStringList &selectedSubItems() const { return m_selectedSubItems; }
    const QStringList &selectedLabels() const { return m_selectedLabels; }
    const QStringList &selectedLocalizedLabels() const { return m_selectedLocalizedLabels; }

    // "All" clears the filter; another key leaves it when others remain, joins it when absent.
    void chooseItem(const QString &key) { choose(m_selectedItems, key); }
    void chooseSubItem(const QString &key) { choose(m_selectedSubItems, key); }
    void chooseLabel(const QString &label, const QString &title);

    QString itemTitle() const { return titleOf(QStringLiteral("Items"), m_selectedItems); }
    QString subItemTitle() const { return titleOf(QStringLiteral("Sub Items"), m_selectedSubItems); }
    QString labelTitle() const;

    // Display text of an item or sub-item key.
    static QString displayText(const QString &key);

private:
    static void choose(QStringList &filter, const QString &key);
    static QString titleOf(const QString &caption, const QStringList &filter);
    static QList<LabelChoice> makeLabelChoices();

    QStringList m_items;
    QStringList m_subItems;
    QList<LabelChoice> m_labelChoices;
    QStringList m_selectedItems;
    QStringList m_selectedSubItems;
    QStringList m_selectedLabels;
    QStringList m_selectedLocalizedLabels;
};
