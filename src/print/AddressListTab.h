#pragma once

#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class ItemTableModel;
class QAction;
class QCheckBox;
class QListView;
class QMenu;
class QToolButton;

// The address list's tab: the frame and shaded-row switches, the item table and the label filter.
// setUp() fills it from the "Address List Options" without reporting a change; every change by
// the user is reported with changed() after the tab has taken it.
class AddressListTab : public QWidget
{
    Q_OBJECT

public:
    explicit AddressListTab(QWidget *parent = nullptr);

    void setUp(const QVariantMap &options);
    // Writes the controls into the "Address List Options".
    void write(QVariantMap &options) const;

    // The label filter's choice, as a click on its item makes it.
    void chooseLabel(const QString &label);
    QStringList selectedLabels() const { return m_selectedLabels; }
    // The filter's labels in menu order, and the ticked ones.
    QStringList labelTitles() const;
    QStringList tickedLabels() const;

    QCheckBox *printFrameSwitch() const { return m_printFrame; }
    QCheckBox *alternateRowSwitch() const { return m_alternateRow; }
    ItemTableModel *itemTable() const { return m_items; }
    QListView *itemTableView() const { return m_itemView; }

signals:
    void changed();

private:
    void rebuildLabelMenu(const QStringList &selected);
    void addLabel(const QString &label);
    QAction *labelAction(const QString &label) const;
    void labelTriggered(QAction *action);

    QCheckBox *m_printFrame = nullptr;
    QCheckBox *m_alternateRow = nullptr;
    ItemTableModel *m_items = nullptr;
    QListView *m_itemView = nullptr;
    QToolButton *m_labelButton = nullptr;
    QMenu *m_labelMenu = nullptr;
    QStringList m_selectedLabels;
};
