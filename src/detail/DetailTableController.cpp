#include "detail/DetailTableController.h"

#include "detail/DetailCellFactory.h"
#include "detail/DetailEditorPresenter.h"
#include "detail/DetailItemCommands.h"
#include "detail/DetailTableEditing.h"
#include "ui/contracts/DetailEditDelegate.h"
#include "ui/contracts/SubContactRow.h"
#include "detail/DetailFont.h"
#include "detail/DetailRowDragAndDrop.h"
#include "detail/DetailTableHost.h"
#include "detail/DetailTableModel.h"
#include "ui/widgets/ImageViewDragAndDrop.h"
#include "platform/PhotoFitter.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/FilePanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>

#include <algorithm>

namespace {

constexpr int TypeColumnMinimumWidth = 90;
// The label column takes at most this share of the table's width.
constexpr double TypeColumnMaximumShare = 0.4;
// Icon, gaps and margins of the label column's cell.
constexpr int TypeColumnDecoration = 4 + 16 + 6 + 4;

// Kinds whose values are edited in their editors, or not at all, never in place.
const QStringList NotEditedInPlace{QStringLiteral("Instant Message"), QStringLiteral("Address"),
                                   QStringLiteral("Dates"),           QStringLiteral("Birthday"),
                                   QStringLiteral("Name Ordering"),   QStringLiteral("Name Display")};

} // namespace

DetailTableController::DetailTableController(DetailTableHost &host, UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_host(host), m_builder(defaults), m_tableView(new QTableView),
      m_model(new DetailTableModel(m_table, this)), m_menu(new QMenu(m_tableView)),
      m_presenter(new DetailEditorPresenter(*this, host, this)),
      m_editing(new DetailTableEditing(*this, host, *m_presenter, this)),
      m_commands(new DetailItemCommands(*this, host, *m_presenter, this))
{
    setUpTableView();
    new DetailRowDragAndDrop(*this, host, defaults);
    m_selectedFont = m_tableView->font();
    m_rowHeight = DetailFont::MinimumRowHeight;
}

void DetailTableController::setUpTableView()
{
    QTableView *view = m_tableView;
    view->setModel(m_model);
    view->horizontalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(int(m_rowHeight));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The cells draw dark text on a transparent ground, which the usual selection colour hides.
    QPalette palette = view->palette();
    const QColor selection = palette.color(QPalette::Active, QPalette::Highlight).lighter(185);
    palette.setColor(QPalette::Active, QPalette::Highlight, selection);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, selection.lighter(108));
    view->setPalette(palette);
    view->viewport()->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DetailTableController::reportSelection);

    // The menu is filled for the clicked row each time it opens.
    m_menu->addAction(L(QStringLiteral("Test")));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &DetailTableController::showContextMenu);
    connect(view, &QAbstractItemView::doubleClicked, this, &DetailTableController::doubleClicked);
}

// --- contact, font, settings ----------------------------------------------------------------

void DetailTableController::setContact(const ContactRowPtr &contact)
{
    if (!contact)
        return;
    const bool another = contact != m_contact;
    // An open in-place edit belongs to the contact it began on; another row of that contact keeps
    // it.
    if (!showsContact(contact))
        m_editing->endInPlaceEdit();
    m_contact = contact;
    // A row kept from the previous contact means nothing in a preview, where no edit or find
    // cursor follows the selection.
    if (another && !m_host.editDelegate()) {
        showFromTop();
        return;
    }
    updateTable();
}

void DetailTableController::showFromTop()
{
    m_reloading = true;
    reloadData();
    m_tableView->selectionModel()->clear();
    m_reloading = false;
    m_tableView->scrollToTop();
}

void DetailTableController::clearContact()
{
    m_editing->endInPlaceEdit();
    m_contact.reset();
    m_findTarget.reset();
    reloadData();
}

bool DetailTableController::showsAnyOf(const QSet<QString> &uniqueIds) const
{
    return m_contact && uniqueIds.contains(m_contact->uniqueId);
}

bool DetailTableController::showsContact(const ContactRowPtr &contact) const
{
    return m_contact && contact && m_contact->uniqueId == contact->uniqueId && m_contact->person == contact->person;
}

void DetailTableController::dropContact()
{
    m_editing->cancelInPlaceEdit();
    m_presenter->closeWithoutWriting();
    clearContact();
}

void DetailTableController::setIconRowCount(int count)
{
    m_iconRowCount = std::clamp(count, MinimumIconRowCount, MaximumIconRowCount);
}

void DetailTableController::setSelectedFont(const QFont &font)
{
    m_selectedFont = font;
    m_rowHeight = DetailFont::rowHeightForFont(font);
    m_tableView->verticalHeader()->setDefaultSectionSize(int(m_rowHeight));
    if (m_contact)
        reloadDataKeepingSelection();
}

// --- reloading ------------------------------------------------------------------------------

void DetailTableController::updateTable()
{
    if (!m_contact)
        return;
    const QList<int> kept = selectedRows();
    const int before = kept.value(0, -1);
    m_reloading = true;
    reloadData();
    if (!kept.isEmpty() && kept.first() < m_table.size())
        selectRows(kept);
    else if (!m_table.isEmpty())
        selectRows({0});
    m_reloading = false;
    scrollToFirstSelected();
    if (selectedRows().value(0, -1) != before)
        reportSelection();
}

void DetailTableController::reloadData()
{
    const bool wasReloading = m_reloading;
    m_reloading = true;
    m_model->reload(
        [this] { m_table = m_contact ? tableFromContact(m_contact, m_selectedLabels) : DetailRowTable(); });
    applyRowHeights();
    applyCells();
    fitTypeColumn();
    if (m_editing)
        m_editing->tableDidReload();
    m_reloading = wasReloading;
}

void DetailTableController::reloadDataKeepingSelection()
{
    const QList<int> kept = selectedRows();
    m_reloading = true;
    reloadData();
    if (!kept.isEmpty())
        selectRows(kept);
    m_reloading = false;
    scrollToFirstSelected();
}

DetailRowTable DetailTableController::tableFromContact(const ContactRowPtr &contact,
                                                       const QStringList &selectedLabels)
{
    return m_builder.tableFromContact(contact, selectedLabels);
}

void DetailTableController::applyRowHeights()
{
    for (int row = 0; row < m_table.size(); ++row)
        m_tableView->verticalHeader()->resizeSection(row, int(heightOfRow(row)));
}

double DetailTableController::heightOfRow(int row)
{
    m_rowHeight = std::max(m_rowHeight, DetailFont::MinimumRowHeight);
    if (row < 0 || row >= m_table.size())
        return m_rowHeight;
    QNPerson *person = m_contact ? m_contact->person.get() : nullptr;
    const int lines = m_builder.numberOfLines(*m_table.at(row), person, m_iconRowCount);
    return DetailRowBuilder::heightForLines(lines, m_rowHeight);
}

void DetailTableController::applyCells()
{
    const DetailCellFactory factory = cellFactory();
    for (int row = 0; row < m_table.size(); ++row) {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            if (QWidget *cell = factory.makeCell(m_table, row, column))
                m_tableView->setIndexWidget(m_model->index(row, column), cell);
        }
    }
}

void DetailTableController::groupsDidChange()
{
    const int row = firstRowOfType(PersonIdentifier::Groups);
    if (row < 0)
        return;
    const int column = DetailCellFactory::ValueColumn;
    if (QWidget *cell = cellFactory().makeCell(m_table, row, column))
        m_tableView->setIndexWidget(m_model->index(row, column), cell);
}

DetailCellFactory DetailTableController::cellFactory()
{
    DetailCellFactory::Context context;
    context.contact = m_contact;
    context.builder = &m_builder;
    context.font = m_selectedFont;
    context.rowHeight = m_rowHeight;
    context.editState = m_editState;
    context.findString = m_findString;
    context.findOptions = m_findOptions;
    context.findTarget = m_findTarget;
    context.nameOrderingLabels = m_builder.nameOrderingLabels();
    context.groupNames = groupNames();
    context.photoDelegate = this;
    context.tableView = m_tableView;
    return DetailCellFactory(context);
}

// The delegate knows the groups now; a preview has only the names its row was given.
QStringList DetailTableController::groupNames() const
{
    if (!m_contact)
        return {};
    if (const DetailEditDelegate *delegate = m_host.editDelegate())
        return delegate->groupNamesOfContact(m_contact);
    const auto row = std::dynamic_pointer_cast<SubContactRow>(m_contact);
    return row && row->groupNames ? *row->groupNames : QStringList();
}

void DetailTableController::fitTypeColumn()
{
    const QFontMetrics metrics(m_selectedFont);
    int width = TypeColumnMinimumWidth;
    for (const DetailRowPtr &row : std::as_const(m_table))
        width = std::max(width, metrics.horizontalAdvance(QNPerson::localizedIdentifierForKey(row->type)) +
                                    TypeColumnDecoration);
    const int widest =
        std::max(TypeColumnMinimumWidth, int(m_tableView->viewport()->width() * TypeColumnMaximumShare));
    m_tableView->setColumnWidth(0, std::min(width, widest));
}

bool DetailTableController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && m_tableView && watched == m_tableView->viewport())
        fitTypeColumn();
    return QObject::eventFilter(watched, event);
}

bool DetailTableController::shouldEditTableColumn(int column, int row) const
{
    if (DetailTableModel::columnIdentifier(column) == QLatin1String("Type"))
        return false;
    if (row < 0 || row >= m_table.size())
        return false;
    return !NotEditedInPlace.contains(m_table.at(row)->type);
}

QString DetailTableController::valueTypeForRow(const DetailRow &row) const
{
    return m_builder.valueTypeForIdentifier(m_contact ? m_contact->person.get() : nullptr, row.type);
}

QWidget *DetailTableController::cellView(int row, int column) const
{
    return m_tableView->indexWidget(m_model->index(row, column));
}

// --- selection ------------------------------------------------------------------------------

QList<int> DetailTableController::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_tableView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DetailTableController::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    for (int row : rows) {
        if (row >= 0 && row < m_table.size())
            selection.select(m_model->index(row, 0), m_model->index(row, m_model->columnCount() - 1));
    }
    m_tableView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!selection.isEmpty())
        m_tableView->selectionModel()->setCurrentIndex(selection.first().topLeft(),
                                                       QItemSelectionModel::NoUpdate);
}

void DetailTableController::selectRow(int row)
{
    if (row < 0 || row >= m_table.size())
        return;
    selectRows({row});
    scrollToFirstSelected();
}

void DetailTableController::scrollToFirstSelected()
{
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty())
        m_tableView->scrollTo(m_model->index(rows.first(), 0));
}

void DetailTableController::reportSelection()
{
    if (m_reloading)
        return;
    const QList<int> rows = selectedRows();
    DetailEditDelegate *delegate = m_host.editDelegate();
    if (rows.isEmpty() || !delegate)
        return;
    delegate->rowSelectionDidChange(m_host.editSender(), *m_table.at(rows.first()));
}

void DetailTableController::editForIdentifier(const QString &identifier)
{
    const int row = firstRowOfType(identifier);
    if (row < 0)
        return;
    selectRow(row);
    m_editing->editRowInPlace(row);
}

// --- find -----------------------------------------------------------------------------------

namespace {

int rowForHit(const DetailRowTable &rows, const ItemAndRange &hit)
{
    for (int row = 0; row < rows.size(); ++row) {
        const DetailRow &detailRow = *rows.at(row);
        if (detailRow.type != hit.identifier)
            continue;
        const QString label = detailRow.label.value_or(QString());
        if (hit.identifier == PersonIdentifier::Name) {
            if (label == hit.subIdentifier)
                return row;
        } else if (hit.identifier == PersonIdentifier::PhoneticName) {
            // Find names phonetic parts with or without the "Phonetic" prefix.
            if (label == hit.subIdentifier || QStringLiteral("Phonetic") + label == hit.subIdentifier)
                return row;
        } else if (QNPerson::labeledIdentifiers().contains(hit.identifier)) {
            if (detailRow.labelIndex == hit.labelIndex)
                return row;
        } else {
            return row;
        }
    }
    return -1;
}

} // namespace

void DetailTableController::selectItemAndRange(const std::optional<ItemAndRange> &hit)
{
    if (!m_contact)
        return;
    if (!hit) {
        m_findTarget.reset();
        reloadDataKeepingSelection();
        return;
    }
    if (hit->contact && hit->contact->uniqueId != m_contact->uniqueId)
        setContact(hit->contact);
    m_findTarget = hit;
    QNPerson *person = m_contact->person.get();
    int chosen = 0;
    if (person && hit->uniqueId == person->uniqueId())
        chosen = std::max(rowForHit(m_table, *hit), 0);
    reloadData();
    selectRow(chosen);
}

// --- photo ----------------------------------------------------------------------------------

void DetailTableController::imageDidChange(ImageViewDragAndDrop *imageView)
{
    if (!imageView || imageView->image().isNull() || !m_contact)
        return;
    writePhoto(smallerImage(imageView->image()));
}

QImage DetailTableController::smallerImage(const QImage &image)
{
    return PhotoFitter::smallerImage(image);
}

void DetailTableController::addImage()
{
    if (!m_contact)
        return;
    FilePanel panel(FilePanel::Kind::Open);
    panel.setAllowedFileTypes({QStringLiteral("public.image")});
    const QPointer<DetailTableController> guard(this);
    panel.beginSheetModalForWindow(m_tableView->window(), [guard](const QString &path) {
        if (!guard || path.isEmpty())
            return;
        guard->selectRow(guard->firstRowOfType(PersonIdentifier::Photo));
        // A file that is no picture, or one that could not be fitted in time, leaves the photo.
        if (const std::optional<QImage> image = PhotoFitter::loadAndFitOnWorker(path))
            guard->writePhoto(*image);
    });
}

void DetailTableController::deleteImage()
{
    if (!m_host.editDelegate() || !m_contact)
        return;
    selectRow(firstRowOfType(PersonIdentifier::Photo));
    writePhoto(std::nullopt);
}

void DetailTableController::writePhoto(const std::optional<QImage> &photo)
{
    DetailEditDelegate *delegate = m_host.editDelegate();
    if (!delegate || !m_contact)
        return;
    if (delegate->undoReplacePhoto(photo ? QVariant(*photo) : QVariant(), m_contact))
        m_host.sendContactDidUpdate();
}

int DetailTableController::firstRowOfType(const QString &type) const
{
    for (int row = 0; row < m_table.size(); ++row) {
        if (m_table.at(row)->type == type)
            return row;
    }
    return -1;
}

void DetailTableController::iconSizeBigger()
{
    setIconRowCount(m_iconRowCount + 1);
    reloadDataKeepingSelection();
}

void DetailTableController::iconSizeSmaller()
{
    setIconRowCount(m_iconRowCount - 1);
    reloadDataKeepingSelection();
}

// --- menu -----------------------------------------------------------------------------------

void DetailTableController::showContextMenu(const QPoint &position)
{
    menuNeedsUpdate(m_menu, m_tableView->indexAt(position));
    if (!m_menu->isEmpty())
        m_menu->popup(m_tableView->viewport()->mapToGlobal(position));
}

void DetailTableController::menuNeedsUpdate(QMenu *menu, const QModelIndex &clicked)
{
    m_commands->menuNeedsUpdate(menu, clicked.isValid() ? clicked.row() : -1,
                                clicked.isValid() ? clicked.column() : -1);
}

void DetailTableController::doubleClicked(const QModelIndex &index)
{
    m_editing->tableViewDoubleAction(index.row(), index.column(), QGuiApplication::keyboardModifiers());
}
