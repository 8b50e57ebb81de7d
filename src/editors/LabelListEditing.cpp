#include "editors/LabelListEditing.h"

#include "platform/Localizer.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QCollator>

#include <algorithm>

namespace LabelListEditing {

QString nextNewLabel(const std::function<bool(const QString &)> &taken)
{
    // The row is shown and edited as it is, so it reads in the user's language.
    const QString base = L(QStringLiteral("new"));
    QString label = base;
    for (long number = 1; taken(label); ++number)
        label = base + QString::number(number);
    return label;
}

QStringList sortedLabels(const QStringList &labels, bool ascending)
{
    QCollator collator;
    QStringList sorted = labels;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator, ascending](const QString &a, const QString &b) {
                         return ascending ? collator.compare(a, b) < 0 : collator.compare(b, a) < 0;
                     });
    return sorted;
}

void commitEditing(QAbstractItemView *view)
{
    if (!view)
        return;
    // The open editor of the current cell; these views set no index widgets of their own.
    QWidget *editor = view->indexWidget(view->currentIndex());
    if (!editor)
        return;
    // Both are protected slots of the view, reachable through its meta-object.
    QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
    QMetaObject::invokeMethod(view, "closeEditor", Q_ARG(QWidget *, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
}

int insertLabel(QStringList &list, const QString &label, int selectedRow)
{
    if (selectedRow >= 0) {
        list.insert(selectedRow, label);
        return selectedRow;
    }
    list.append(label);
    return int(list.size()) - 1;
}

} // namespace LabelListEditing
