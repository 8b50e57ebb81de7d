#include "ui/widgets/LabelPopup.h"

#include "model/QNPerson.h"

#include <QComboBox>
#include <QPalette>

LabelPopup::LabelPopup(const QString &kind, const QString &label, bool editState)
    : m_label(label), m_editState(editState)
{
    const QStringList customLabels = QNPerson::customLabelsForIdentifier(kind).value_or(QStringList());
    const QString ownTitle = localizedLabel(label);
    if (!editState) {
        m_items.append({ownTitle, label, customLabels.contains(label)});
        m_selectedIndex = 0;
        return;
    }
    const QStringList labels = QNPerson::labelsForIdentifier(kind).value_or(QStringList());
    const QStringList titles = QNPerson::localizedLabelsForIdentifier(kind).value_or(QStringList());
    for (qsizetype i = 0; i < titles.size(); ++i)
        m_items.append({titles.at(i), labels.value(i), customLabels.contains(titles.at(i))});
    m_selectedIndex = int(labels.indexOf(label));
    if (m_selectedIndex < 0)
        m_selectedIndex = int(titles.indexOf(ownTitle));
}

QString LabelPopup::localizedLabel(const QString &label)
{
    return QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label));
}

QString LabelPopup::title() const
{
    return m_selectedIndex >= 0 ? m_items.at(m_selectedIndex).title : localizedLabel(m_label);
}

bool LabelPopup::isCustom() const
{
    return m_selectedIndex >= 0 && m_items.at(m_selectedIndex).custom;
}

std::optional<QString> LabelPopup::labelForItem(int index) const
{
    if (!m_editState || index < 0 || index >= m_items.size())
        return std::nullopt;
    return m_items.at(index).label;
}

void LabelPopup::drawPlaceholderAsLabel(QComboBox &popup)
{
    QPalette palette = popup.palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::PlaceholderText, palette.color(group, QPalette::ButtonText));
    popup.setPalette(palette);
}
