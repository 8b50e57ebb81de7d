#include "print/AddressListTab.h"

#include "model/QNPerson.h"
#include "platform/Localizer.h"
#include "print/ItemTableModel.h"
#include "print/OptionValue.h"
#include "print/PrintControls.h"
#include "print/PrintKeys.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

using namespace PrintKey;

namespace {

const QStringList CommonLabels{QStringLiteral("home"), QStringLiteral("work"), QStringLiteral("other")};
// The kinds whose own labels the filter offers, in menu order.
const QStringList FilteredKinds{
    QStringLiteral("Phone"),          QStringLiteral("Email"),           QStringLiteral("Address"),
    QStringLiteral("URL"),            QStringLiteral("Social Network"),  QStringLiteral("Instant Message"),
    QStringLiteral("Dates"),          QStringLiteral("Relationship"),
};

} // namespace

AddressListTab::AddressListTab(QWidget *parent) : QWidget(parent)
{
    m_printFrame = new QCheckBox(L(QStringLiteral("Print Frame")), this);
    m_alternateRow = new QCheckBox(L(QStringLiteral("Alternate Row Color")), this);
    m_items = new ItemTableModel(this);
    m_itemView = new QListView(this);
    m_itemView->setObjectName(QStringLiteral("itemTable"));
    m_itemView->setModel(m_items);
    m_itemView->setDragDropMode(QAbstractItemView::InternalMove);
    m_itemView->setDefaultDropAction(Qt::MoveAction);
    m_itemView->setDropIndicatorShown(true);
    m_itemView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_labelMenu = new QMenu(this);
    m_labelButton = new QToolButton(this);
    m_labelButton->setText(L(QStringLiteral("Label")));
    m_labelButton->setMenu(m_labelMenu);
    m_labelButton->setPopupMode(QToolButton::InstantPopup);

    auto *labelRow = new QHBoxLayout;
    labelRow->addWidget(new QLabel(L(QStringLiteral("Labels:")), this));
    labelRow->addWidget(m_labelButton);
    labelRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_printFrame);
    layout->addWidget(m_alternateRow);
    layout->addWidget(new QLabel(L(QStringLiteral("Items (drag to reorder):")), this));
    layout->addWidget(m_itemView, 1);
    layout->addLayout(labelRow);

    connect(m_printFrame, &QCheckBox::toggled, this, &AddressListTab::changed);
    connect(m_alternateRow, &QCheckBox::toggled, this, &AddressListTab::changed);
    connect(m_items, &ItemTableModel::changed, this, &AddressListTab::changed);
    connect(m_labelMenu, &QMenu::triggered, this, &AddressListTab::labelTriggered);
}

void AddressListTab::setUp(const QVariantMap &options)
{
    m_items->setEntries(options.value(ItemTable).toList());
    PrintControls::setQuietly(m_printFrame, OptionValue::toBool(options.value(PrintFrame)));
    PrintControls::setQuietly(m_alternateRow, OptionValue::toBool(options.value(AlternatingRow)));
    m_selectedLabels = options.value(SelectedLabels).toStringList();
    if (m_selectedLabels.isEmpty())
        m_selectedLabels = {AllLabels};
    rebuildLabelMenu(m_selectedLabels);
}

void AddressListTab::write(QVariantMap &options) const
{
    options.insert(PrintFrame, m_printFrame->isChecked());
    options.insert(AlternatingRow, m_alternateRow->isChecked());
    options.insert(ItemTable, m_items->entries());
    // Stored as the options store every list, whatever type the defaults hand back.
    QVariantList labels;
    for (const QString &label : m_selectedLabels.isEmpty() ? QStringList{AllLabels} : m_selectedLabels)
        labels.append(label);
    options.insert(SelectedLabels, labels);
}

void AddressListTab::rebuildLabelMenu(const QStringList &selected)
{
    m_labelMenu->clear();
    addLabel(AllLabels);
    for (const QString &label : CommonLabels)
        addLabel(label);
    const QNPerson::LabelTable table = QNPerson::labelTableDict();
    for (const QString &kind : FilteredKinds) {
        for (const QString &label : table.value(kind)) {
            if (label != AllLabels && !CommonLabels.contains(label))
                addLabel(label);
        }
    }
    // A stored label that no kind offers any more still shows, ticked, so that it is not lost.
    for (const QString &label : selected) {
        if (!labelAction(label))
            addLabel(label);
    }
    const bool all = selected.contains(AllLabels);
    for (QAction *action : m_labelMenu->actions()) {
        const QString label = action->data().toString();
        action->setChecked(all ? label == AllLabels : selected.contains(label));
    }
}

void AddressListTab::addLabel(const QString &label)
{
    // One item per label: one added again moves to the end.
    if (QAction *old = labelAction(label))
        m_labelMenu->removeAction(old);
    QAction *action = m_labelMenu->addAction(label == AllLabels ? L(label) : QNPerson::localizedLabelFromCNLabel(
                                                                                 QNPerson::CNLabelFromLabel(label)));
    action->setData(label);
    action->setCheckable(true);
}

QAction *AddressListTab::labelAction(const QString &label) const
{
    for (QAction *action : m_labelMenu->actions()) {
        if (action->data().toString() == label)
            return action;
    }
    return nullptr;
}

QStringList AddressListTab::labelTitles() const
{
    QStringList titles;
    for (QAction *action : m_labelMenu->actions())
        titles.append(action->data().toString());
    return titles;
}

QStringList AddressListTab::tickedLabels() const
{
    QStringList ticked;
    for (QAction *action : m_labelMenu->actions()) {
        if (action->isChecked())
            ticked.append(action->data().toString());
    }
    return ticked;
}

void AddressListTab::labelTriggered(QAction *action)
{
    // The menu has ticked or unticked the item already; the filter decides the ticks itself.
    action->setChecked(!action->isChecked());
    chooseLabel(action->data().toString());
}

void AddressListTab::chooseLabel(const QString &label)
{
    QAction *chosen = labelAction(label);
    QAction *all = labelAction(AllLabels);
    if (!chosen || !all)
        return;
    if (label == AllLabels) {
        for (QAction *action : m_labelMenu->actions())
            action->setChecked(action == all);
        m_selectedLabels = {AllLabels};
    } else {
        chosen->setChecked(!chosen->isChecked());
        if (chosen->isChecked())
            all->setChecked(false);
        m_selectedLabels.clear();
        for (QAction *action : m_labelMenu->actions()) {
            if (action != all && action->isChecked())
                m_selectedLabels.append(action->data().toString());
        }
        if (m_selectedLabels.isEmpty()) {
            m_selectedLabels = {AllLabels};
            all->setChecked(true);
        }
    }
    emit changed();
}
