#include "editors/AddItemViewController.h"

#include "ui/widgets/SeparatorBox.h"
#include "editors/LabelListEditing.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/QNvCard.h"
#include "platform/Localizer.h"
#include "platform/PhotoFitter.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/Popover.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

constexpr int RowHeight = 24;
constexpr int ShownIconSize = 64;
const QString DefaultIcon = QStringLiteral(":/icons/icon_cube2.svg");

} // namespace

AddItemViewController::AddItemViewController(QWidget *parent)
    : QWidget(parent), m_imageView(new QLabel), m_nameField(new QLineEdit), m_redSeparator(new SeparatorBox),
      m_typePopup(new QComboBox), m_addButton(new QPushButton(QStringLiteral("+"))),
      m_deleteButton(new QPushButton(QStringLiteral("-"))), m_doneButton(new QPushButton),
      m_cancelButton(new QPushButton(L(QStringLiteral("Cancel")))), m_tableView(new QTableWidget(0, 1))
{
    auto *labelButtons = new QHBoxLayout;
    labelButtons->addWidget(m_addButton);
    labelButtons->addWidget(m_deleteButton);
    labelButtons->addStretch();
    labelButtons->addWidget(m_cancelButton);
    labelButtons->addWidget(m_doneButton);
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_imageView, 0, 0, 2, 1);
    layout->addWidget(m_nameField, 0, 1);
    layout->addWidget(m_typePopup, 1, 1);
    layout->addWidget(m_redSeparator, 2, 0, 1, 2);
    layout->addWidget(m_tableView, 3, 0, 1, 2);
    layout->addLayout(labelButtons, 4, 0, 1, 2);
    m_imageView->setFixedSize(ShownIconSize, ShownIconSize);
    m_imageView->setScaledContents(true);
    m_redSeparator->setFixedHeight(4);
    viewDidLoad();

    connect(m_nameField, &QLineEdit::textChanged, this, &AddItemViewController::textFieldChanged);
    connect(m_typePopup, &QComboBox::activated, this, &AddItemViewController::popupChanged);
    connect(m_tableView, &QTableWidget::itemChanged, this, &AddItemViewController::itemChanged);
    connect(m_tableView, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { tableViewDoubleClick(row); });
    connect(m_tableView->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        m_ascending = !m_ascending;
        sortDescriptorsDidChange(m_ascending);
    });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_addButton->isEnabled())
            m_deleteButton->setEnabled(selectedRow() >= 0);
    });
    connect(m_imageView, &QLabel::customContextMenuRequested, this, [this](const QPoint &where) {
        QMenu menu;
        menuNeedsUpdate(&menu);
        menu.exec(m_imageView->mapToGlobal(where));
    });
    connect(m_addButton, &QPushButton::clicked, this, &AddItemViewController::addLabel);
    connect(m_deleteButton, &QPushButton::clicked, this, &AddItemViewController::deleteLabel);
    connect(m_doneButton, &QPushButton::clicked, this, &AddItemViewController::donePressed);
    connect(m_cancelButton, &QPushButton::clicked, this, &AddItemViewController::cancelPressed);
}

void AddItemViewController::viewDidLoad()
{
    // The popover always edits.
    m_redSeparator->showEditing(true);
    m_imageView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_imageView->setAcceptDrops(true);
    m_imageView->installEventFilter(this);
    // Shown in the user's language; the item's data is the type as stored.
    m_typePopup->addItem(L(PersonValueType::String), PersonValueType::String);
    m_typePopup->addItem(L(PersonValueType::Labeled), PersonValueType::Labeled);
    m_tableView->setHorizontalHeaderLabels({L(QStringLiteral("Label"))});
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    m_tableView->verticalHeader()->hide();
    m_tableView->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_doneButton->setDefault(true);
}

void AddItemViewController::setPopover(Popover *popover)
{
    m_popover = popover;
}

Popover *AddItemViewController::popover() const
{
    return m_popover;
}

// --- opening --------------------------------------------------------------------------------

void AddItemViewController::setContextInfo(const std::optional<QVariantMap> &item)
{
    m_finishedWithDone = false;
    const QSignalBlocker blocker(m_nameField);
    if (item) {
        m_contextInfo = *item;
        m_contextInfo.insert(PersonKey::ItemChanged, false);
        m_nameField->setText(m_contextInfo.value(PersonKey::ItemName).toString());
        m_nameField->setEnabled(false);
        m_typePopup->setEnabled(false);
        m_doneButton->setText(L(QStringLiteral("Change")));
    } else {
        m_contextInfo = {{PersonKey::ItemName, QStringLiteral("")},
                         {PersonKey::ItemType, PersonValueType::String},
                         {PersonKey::ItemLabels, QStringList()},
                         {PersonKey::ItemNew, true}};
        m_nameField->clear();
        m_nameField->setPlaceholderText(L(QStringLiteral("New")));
        m_nameField->setEnabled(true);
        m_typePopup->setEnabled(true);
        m_doneButton->setText(L(QStringLiteral("Add")));
    }
    m_doneButton->setEnabled(false);
    showImage();
    updateUI();
    // A new item starts with its name; an item changed here can only have its labels changed.
    if (item)
        m_tableView->setFocus();
    else
        m_nameField->setFocus();
}

void AddItemViewController::updateUI()
{
    const QString type = m_contextInfo.value(PersonKey::ItemType).toString();
    m_typePopup->setCurrentIndex(m_typePopup->findData(type));
    const bool labeled = type == PersonValueType::Labeled;
    m_table = labeled ? m_contextInfo.value(PersonKey::ItemLabels).toStringList() : QStringList();
    m_addButton->setEnabled(labeled);
    m_deleteButton->setEnabled(labeled && !m_table.isEmpty());
    reloadData(-1);
}

// --- editing --------------------------------------------------------------------------------

void AddItemViewController::textFieldChanged(const QString &text)
{
    // Blanks around a name would make a column that looks like another.
    const QString name = text.trimmed();
    m_contextInfo.insert(PersonKey::ItemName, name);
    m_doneButton->setEnabled(!name.isEmpty());
}

void AddItemViewController::popupChanged(int index)
{
    const QString type = m_typePopup->itemData(index).toString();
    m_contextInfo.insert(PersonKey::ItemType, type);
    if (type == PersonValueType::Labeled) {
        m_addButton->setEnabled(true);
        if (!m_table.isEmpty()) {
            m_deleteButton->setEnabled(true);
            m_doneButton->setEnabled(true);
        }
    } else {
        m_addButton->setEnabled(false);
        m_deleteButton->setEnabled(false);
        m_doneButton->setEnabled(true);
    }
}

int AddItemViewController::selectedRow() const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void AddItemViewController::reloadData(int selectRow)
{
    {
        const QSignalBlocker blocker(m_tableView);
        m_tableView->clearSelection();
        m_tableView->setRowCount(int(m_table.size()));
        for (int row = 0; row < m_table.size(); ++row)
            m_tableView->setItem(row, 0, new QTableWidgetItem(m_table.at(row)));
    }
    if (selectRow >= 0 && selectRow < m_table.size())
        m_tableView->selectRow(selectRow);
}

void AddItemViewController::itemChanged(QTableWidgetItem *item)
{
    if (item && item->column() == 0)
        textFieldCellChanged(item->row(), item->text());
}

void AddItemViewController::textFieldCellChanged(int row, const QString &text)
{
    if (row < 0 || row >= m_table.size() || text == m_table.at(row))
        return;
    // An empty label is ignored; one the item already has would stand twice in its menu.
    if (text.trimmed().isEmpty() || m_table.contains(text)) {
        reloadData(row);
        return;
    }
    m_table[row] = text;
    m_doneButton->setEnabled(true);
}

void AddItemViewController::tableViewDoubleClick(int row)
{
    if (row >= 0 && row < m_table.size())
        m_tableView->editItem(m_tableView->item(row, 0));
}

void AddItemViewController::sortDescriptorsDidChange(bool ascending)
{
    const int row = selectedRow();
    const QString selected = row >= 0 ? m_table.at(row) : QString();
    m_table = LabelListEditing::sortedLabels(m_table, ascending);
    reloadData(row >= 0 ? int(m_table.indexOf(selected)) : -1);
}

void AddItemViewController::addLabel()
{
    const QString label = LabelListEditing::nextNewLabel(
        [this](const QString &candidate) { return m_table.contains(candidate); });
    const int row = LabelListEditing::insertLabel(m_table, label, selectedRow());
    reloadData(row);
    m_tableView->editItem(m_tableView->item(row, 0));
    m_deleteButton->setEnabled(true);
    m_doneButton->setEnabled(true);
    m_contextInfo.insert(PersonKey::ItemChanged, true);
}

void AddItemViewController::deleteLabel()
{
    const int row = selectedRow();
    if (row >= 0)
        m_table.removeAt(row);
    reloadData(-1);
    if (m_table.isEmpty())
        m_deleteButton->setEnabled(false);
    m_doneButton->setEnabled(true);
}

bool AddItemViewController::isBuiltInName(const QString &name)
{
    static const QStringList others = {
        PersonIdentifier::Photo,       PersonIdentifier::Groups,        PersonIdentifier::NameOrdering,
        PersonIdentifier::NameDisplay, QStringLiteral("All"),           QStringLiteral("Show as Person"),
        PersonKey::FirstName,          PersonKey::MiddleName,           PersonKey::LastName,
        PersonKey::PreviousFamilyName, PersonIdentifier::CompositeName, PersonIdentifier::Thumbnail,
    };
    return others.contains(name) || QNPerson::allIdentifiers().contains(name) ||
           QNPerson::addressIdentifiers().contains(name) || QNPerson::phoneticIdentifiers().contains(name) ||
           QNPerson::CNIdentifiers().contains(name);
}

bool AddItemViewController::refusesName(const QString &name) const
{
    if (name.isEmpty())
        return true;
    if (!m_contextInfo.value(PersonKey::ItemNew).toBool() || m_contextInfo.contains(QStringLiteral("row")))
        return false;
    // An X- line of such a name is read back as something else, so the item would not survive a
    // vCard file.
    return isBuiltInName(name) || m_takenNames.contains(name) || QNvCard::isReservedCustomItemName(name);
}

void AddItemViewController::donePressed()
{
    LabelListEditing::commitEditing(m_tableView);
    const bool labeled = m_contextInfo.value(PersonKey::ItemType).toString() == PersonValueType::Labeled;
    if (refusesName(m_contextInfo.value(PersonKey::ItemName).toString()) || (labeled && m_table.isEmpty())) {
        QApplication::beep();
        return;
    }
    m_contextInfo.insert(PersonKey::ItemLabels, labeled ? m_table : QStringList());
    m_contextInfo.insert(PersonKey::ItemChanged, true);
    m_finishedWithDone = true;
    if (m_popover)
        m_popover->close();
}

void AddItemViewController::cancelPressed()
{
    m_contextInfo.remove(PersonKey::ItemNew);
    m_contextInfo.remove(PersonKey::ItemChanged);
    if (m_popover)
        m_popover->close();
}

void AddItemViewController::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && m_doneButton->isEnabled()) {
        m_doneButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- the icon -------------------------------------------------------------------------------

QImage AddItemViewController::iconOfItem(const QVariantMap &item)
{
    const QImage own = item.value(PersonKey::ItemImageIcon).value<QImage>();
    if (!own.isNull())
        return own;
    const QImage stored = QImage::fromData(item.value(PersonKey::ItemImageData).toByteArray());
    return stored.isNull() ? QImage(DefaultIcon) : stored;
}

void AddItemViewController::showImage()
{
    m_imageView->setPixmap(QPixmap::fromImage(iconOfItem(m_contextInfo)));
}

void AddItemViewController::menuNeedsUpdate(QMenu *menu)
{
    if (!menu)
        return;
    menu->clear();
    const bool hasIcon =
        !iconOfItem(m_contextInfo).isNull() && (m_contextInfo.contains(PersonKey::ItemImageIcon) ||
                                                m_contextInfo.contains(PersonKey::ItemImageData));
    if (hasIcon) {
        connect(menu->addAction(L(QStringLiteral("Replace Image"))), &QAction::triggered, this,
                &AddItemViewController::addImage);
        connect(menu->addAction(L(QStringLiteral("Delete Image"))), &QAction::triggered, this,
                &AddItemViewController::deleteImage);
    } else {
        connect(menu->addAction(L(QStringLiteral("Add Image"))), &QAction::triggered, this,
                &AddItemViewController::addImage);
    }
}

void AddItemViewController::addImage()
{
    auto *panel = new FilePanel(FilePanel::Kind::Open);
    panel->setAllowedFileTypes({QStringLiteral("public.image")});
    QPointer<AddItemViewController> self(this);
    panel->beginSheetModalForWindow(window(), [self, panel](const QString &path) {
        delete panel;
        if (!self || path.isEmpty())
            return;
        self->imageDidChanged(QImage(path));
    });
}

void AddItemViewController::imageDidChanged(const QImage &image)
{
    if (image.isNull())
        return;
    takeImage(PhotoFitter::fitted(image));
}

void AddItemViewController::takeImage(const QImage &image)
{
    m_contextInfo.insert(PersonKey::ItemImageIcon, image);
    // The stored definitions keep the icon as bytes.
    m_contextInfo.remove(PersonKey::ItemImageData);
    showImage();
    m_doneButton->setEnabled(true);
}

void AddItemViewController::deleteImage()
{
    m_contextInfo.remove(PersonKey::ItemImageIcon);
    m_contextInfo.remove(PersonKey::ItemImageData);
    showImage();
    m_doneButton->setEnabled(true);
}

bool AddItemViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_imageView && event->type() == QEvent::DragEnter) {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (drag->mimeData()->hasImage())
            drag->acceptProposedAction();
        return true;
    }
    if (watched == m_imageView && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        imageDidChanged(qvariant_cast<QImage>(drop->mimeData()->imageData()));
        drop->acceptProposedAction();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
