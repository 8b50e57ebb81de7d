#include "app/ToolbarChoices.h"

#include <QVariantList>

namespace {

const QString All = QStringLiteral("All");
const QString Name = QStringLiteral("Name");

} // namespace

QStringList ToolbarChoices::toggledLabels(const QStringList &selected, const QString &label)
{
    if (label == All)
        return {All};
    if (selected.isEmpty() || selected.first() == All)
        return {label};
    QStringList labels = selected;
    if (!labels.removeAll(label))
        labels.append(label);
    return labels.isEmpty() ? QStringList{All} : labels;
}

QStringList ToolbarChoices::normalizedLabels(const QStringList &stored)
{
    if (stored.isEmpty() || stored.contains(All))
        return {All};
    return stored;
}

QStringList ToolbarChoices::toggledColumns(const QStringList &columns, const QString &identifier)
{
    QStringList result = columns;
    if (result.removeAll(identifier))
        return result;
    result.insert(std::min<qsizetype>(1, result.size()), identifier);
    return result;
}

QVariantMap ToolbarChoices::cleanedViewTypeDict(const QVariantMap &stored,
                                                const std::optional<QStringList> &known)
{
    QVariantMap cleaned;
    if (!stored.contains(Name))
        cleaned.insert(Name, QVariantList{Name});
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        QVariantList columns;
        for (const QVariant &column : it->toList()) {
            if (!known || known->contains(column.toString()))
                columns.append(column);
        }
        cleaned.insert(it.key(), columns);
    }
    return cleaned;
}
