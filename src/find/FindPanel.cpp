#include "find/FindPanel.h"

#include "addressbook/TextFormat.h"
#include "addressbook/UndoGroup.h"
#include "find/FindPanelResultsModel.h"
#include "find/FindPanelValueDelegate.h"
#include "platform/Localizer.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Popover.h"
#include "ui/widgets/SegmentedControl.h"
#include "ui/widgets/SeparatorBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString All = QStringLiteral("All");
const QSize DateEditorSize(340, 284);

QToolButton *pullDown()
{
    auto *button = new QToolButton;
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMenu(new QMenu(button));
    return button;
}

QPushButton *plainButton(const QString &title)
{
    auto *button = new QPushButton(title);
    // Enter belongs to the search field, not to a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// Every listed match replaced, last to first so that earlier ranges keep their places. Ranges
// that no longer lie in the text, and the empty range an in-place edit leaves, replace nothing.
QString replacedRanges(QString text, QList<MatchScan::TextRange> ranges, const QString &replacement)
{
    std::sort(ranges.begin(), ranges.end(), [](const MatchScan::TextRange &a, const MatchScan::TextRange &b) {
        return a.location > b.location;
    });
    qsizetype limit = text.size();
    for (const MatchScan::TextRange &range : ranges) {
        if (range.location < 0 || range.length <= 0 || range.location + range.length > limit)
            continue;
        text.replace(range.location, range.length, replacement);
        limit = range.location;
    }
    return text;
}

} // namespace

FindPanel::FindPanel(FindPanelSetup setup, QWidget *parent)
    : Sheet(parent), m_setup(std::move(setup)), m_filters(m_setup.selectedItems, m_setup.customItems),
      m_search(FindFields(m_setup.customItems)), m_writer(m_setup.funnel, FindFields(m_setup.customItems)),
      m_searchString(m_setup.searchString), m_runner(new FindPanelRunner(this)),
      m_undoManager(new UndoManager(this)), m_model(new FindPanelResultsModel(this)),
      m_redSeparator(new SeparatorBox), m_editButton(plainButton(L(QStringLiteral("Edit")))),
      m_itemPopup(pullDown()), m_subItemPopup(pullDown()), m_labelPopup(pullDown()),
      m_searchModePopup(new QComboBox), m_searchField(new QLineEdit),
      m_directionControl(new SegmentedControl(2)), m_replaceButtons(new SegmentedControl(2)),
      m_replaceField(new QLineEdit), m_tableView(new QTableView),
      m_closeButton(plainButton(L(QStringLiteral("Done")))), m_messageLabel(new QLabel),
      m_searchProgress(new QProgressBar)
{
    setWindowTitle(L(QStringLiteral("Find and Replace")));
    buildLayout();
    fillFilterMenus();
    m_editButton->setCheckable(true);
    setEditing(m_setup.editState);
    if (!m_searchString.isEmpty())
        m_searchField->setText(m_searchString);
    updateReplaceButtons();

    connect(m_editButton, &QPushButton::clicked, this, [this](bool checked) { setEditing(checked); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] { done(Accepted); });
    connect(m_searchField, &QLineEdit::returnPressed, this, &FindPanel::textDidEnter);
    connect(m_searchField, &QLineEdit::textChanged, this, &FindPanel::updateReplaceButtons);
    connect(m_searchModePopup, &QComboBox::activated, this, &FindPanel::searchModePopupDidSelect);
    connect(m_directionControl, &SegmentedControl::action, this,
            [this](SegmentedControl *control) { directionButtonDidClick(control->selectedSegment()); });
    connect(m_replaceButtons, &SegmentedControl::action, this,
            [this](SegmentedControl *control) { replaceButtonDidClick(control->selectedSegment()); });
    connect(m_model, &FindPanelResultsModel::valueEdited, this, &FindPanel::textFieldCellChanged);
    connect(m_runner, &FindPanelRunner::progressed, this, &FindPanel::showSearchProgress);
    connect(m_runner, &FindPanelRunner::finished, this, &FindPanel::handOver);
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, m_undoManager, &UndoManager::undo);
    auto *redo = new QShortcut(QKeySequence::Redo, this);
    connect(redo, &QShortcut::activated, m_undoManager, &UndoManager::redo);
}

FindPanel::~FindPanel()
{
    if (m_popover)
        m_popover->disconnect(this);
}

void FindPanel::showFindPanel(FindPanelSetup setup, QWidget *window)
{
    FindPanel panel(std::move(setup), window);
    panel.runModal();
}

void FindPanel::done(int code)
{
    m_runner->stop();
    m_pendingAction.reset();
    Sheet::done(code);
}

const QList<SearchResultRowPtr> &FindPanel::searchResults() const
{
    return m_model->results();
}

bool FindPanel::isEditing() const
{
    return m_editButton->isChecked();
}

QString FindPanel::message() const
{
    return m_messageLabel->text();
}

// --- layout ---------------------------------------------------------------------------------

void FindPanel::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFilterBar());
    m_redSeparator->setFixedHeight(4);
    layout->addWidget(m_redSeparator);
    layout->addWidget(buildReplaceBar());
    buildTable();
    layout->addWidget(m_tableView, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_messageLabel, 1);
    m_searchProgress->setTextVisible(false);
    m_searchProgress->setMaximumWidth(160);
    m_searchProgress->hide();
    bottom->addWidget(m_searchProgress);
    bottom->addWidget(m_closeButton);
    layout->addLayout(bottom);
    resize(760, 480);
}

QWidget *FindPanel::buildFilterBar()
{
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_editButton);
    row->addWidget(m_itemPopup);
    row->addWidget(m_subItemPopup);
    row->addWidget(m_labelPopup);
    row->addStretch(1);
    for (const QString &mode :
         {QStringLiteral("CaseInsensitive"), QStringLiteral("CaseSensitive"), QStringLiteral("Regex")})
        m_searchModePopup->addItem(L(mode));
    m_searchModePopup->setCurrentIndex(0);
    row->addWidget(m_searchModePopup);
    return bar;
}

QWidget *FindPanel::buildReplaceBar()
{
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_searchField->setPlaceholderText(L(QStringLiteral("Find")));
    m_searchField->setClearButtonEnabled(true);
    m_directionControl->setLabel(L(QStringLiteral("Previous")), 0);
    m_directionControl->setLabel(L(QStringLiteral("Next")), 1);
    m_replaceField->setPlaceholderText(L(QStringLiteral("Replace")));
    m_replaceButtons->setLabel(L(QStringLiteral("Replace")), 0);
    m_replaceButtons->setLabel(L(QStringLiteral("All")), 1);
    m_replaceButtons->setSelectedSegment(0);
    row->addWidget(m_searchField, 1);
    row->addWidget(m_directionControl);
    row->addWidget(m_replaceField, 1);
    row->addWidget(m_replaceButtons);
    return bar;
}

void FindPanel::buildTable()
{
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegateForColumn(FindPanelResultsModel::ValueColumn,
                                          new FindPanelValueDelegate(m_tableView));
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    // Editing starts only from the double action, which checks the edit state and the row's kind.
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->verticalHeader()->hide();
    // Measuring every row would cost a long search its hand-over: rows are one line high.
    m_tableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tableView->verticalHeader()->setMinimumSectionSize(1);
    m_tableView->verticalHeader()->setDefaultSectionSize(FindPanelResultsModel::RowHeight);
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    // Results come in search order: no column shows a sort until the user picks one.
    m_tableView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_tableView->horizontalHeader()->setSortIndicatorShown(true);
    m_tableView->horizontalHeader()->setSectionsClickable(true);
    m_tableView->setWordWrap(false);
    connect(m_tableView->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            &FindPanel::sortResults);
    connect(m_tableView, &QTableView::doubleClicked, this, &FindPanel::tableViewDoubleAction);
    connect(m_tableView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_selectingRow && current.isValid())
                    tableViewDidSelectRow(current.row());
            });
    // A click on the row the table already shows current picks it too when the current match is
    // not in it (Replace All leaves none).
    connect(m_tableView, &QTableView::pressed, this, [this](const QModelIndex &index) {
        if (index.isValid() && index.row() != m_cursor.row)
            tableViewDidSelectRow(index.row());
    });
}

// --- filters --------------------------------------------------------------------------------

void FindPanel::fillFilterMenus()
{
    const auto fill = [this](QToolButton *button, const QStringList &keys,
                             void (FindPanel::*chosen)(const QString &)) {
        QMenu *menu = button->menu();
        menu->clear();
        for (const QString &key : keys) {
            QAction *action = menu->addAction(FindPanelFilters::displayText(key));
            action->setData(key);
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, chosen, key] { (this->*chosen)(key); });
        }
        connect(menu, &QMenu::aboutToShow, this, &FindPanel::updateCheckMarks);
    };
    fill(m_itemPopup, m_filters.items(), &FindPanel::itemPopupDidSelect);
    fill(m_subItemPopup, m_filters.subItems(), &FindPanel::subItemPopupDidSelect);
    fillLabelMenu();
    retitleFilters();
    updateCheckMarks();
}

void FindPanel::fillLabelMenu()
{
    QMenu *menu = m_labelPopup->menu();
    for (const FindPanelFilters::LabelChoice &choice : m_filters.labelChoices()) {
        QAction *action = menu->addAction(choice.title);
        action->setData(choice.label);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [this, choice] { labelPopupDidSelect(choice.label, choice.title); });
    }
    connect(menu, &QMenu::aboutToShow, this, &FindPanel::updateCheckMarks);
}

void FindPanel::updateCheckMarks()
{
    const auto mark = [](QToolButton *button, const QStringList &filter) {
        for (QAction *action : button->menu()->actions())
            action->setChecked(filter.contains(action->data().toString()));
    };
    mark(m_itemPopup, m_filters.selectedItems());
    mark(m_subItemPopup, m_filters.selectedSubItems());
    // A label several kinds share is checked in each of its places.
    mark(m_labelPopup, m_filters.selectedLabels());
}

void FindPanel::retitleFilters()
{
    m_itemPopup->setText(m_filters.itemTitle());
    m_subItemPopup->setText(m_filters.subItemTitle());
    m_labelPopup->setText(m_filters.labelTitle());
}

void FindPanel::itemPopupDidSelect(const QString &key)
{
    m_filters.chooseItem(key);
    retitleFilters();
    updateTable();
}

void FindPanel::subItemPopupDidSelect(const QString &key)
{
    m_filters.chooseSubItem(key);
    retitleFilters();
    updateTable();
}

void FindPanel::labelPopupDidSelect(const QString &label, const QString &title)
{
    m_filters.chooseLabel(label, title);
    retitleFilters();
    updateTable();
}

void FindPanel::searchModePopupDidSelect(int index)
{
    m_compareOptions = index == 0   ? MatchScan::CaseInsensitive
                       : index == 1 ? MatchScan::CaseSensitive
                                    : MatchScan::RegularExpression;
    updateTable();
}

void FindPanel::textDidEnter()
{
    m_searchString = m_searchField->text();
    updateTable();
}

void FindPanel::setEditing(bool editing)
{
    m_editButton->setChecked(editing);
    m_editButton->setText(L(editing ? QStringLiteral("Lock") : QStringLiteral("Edit")));
    m_redSeparator->showEditing(editing);
    m_model->setEditable(editing);
}

// --- search ---------------------------------------------------------------------------------

void FindPanel::updateTable()
{
    const quint64 generation = ++m_generation;
    const FindPanelQuery query{m_searchString, m_filters.selectedItems(), m_filters.selectedSubItems(),
                               m_filters.selectedLabels(), m_compareOptions};
    const MatchScan scan(m_searchString, m_compareOptions);
    m_messageLabel->setText(scan.isRegularExpression() && !m_searchString.isEmpty() && !scan.isValid()
                                ? L(QStringLiteral("The search text is not a valid regular expression."))
                                : QString());
    m_searchProgress->hide();
    m_runner->start(generation, m_setup.contacts ? m_search.snapshot(query, *m_setup.contacts)
                                                 : FindPanelSearch::Snapshot{});
}

void FindPanel::showSearchProgress(qsizetype searched, qsizetype total)
{
    m_searchProgress->setRange(0, int(total));
    m_searchProgress->setValue(int(searched));
    m_searchProgress->show();
    m_messageLabel->setText(L(QStringLiteral("Searching…")));
}

void FindPanel::showSearchEnd(const FindPanelSearch::Outcome &outcome)
{
    const bool ranLong = !m_searchProgress->isHidden();
    m_searchProgress->hide();
    if (outcome.givenUp > 0) {
        m_messageLabel->setText(TextFormat::fill(
            L(outcome.givenUp == 1
                  ? QStringLiteral("The pattern took too long on 1 value, which was left out.")
                  : QStringLiteral("The pattern took too long on %@ values, which were left out.")),
            {QString::number(outcome.givenUp)}));
    } else if (ranLong) {
        m_messageLabel->setText(L(QStringLiteral("The search has finished.")));
    }
}

void FindPanel::handOver(quint64 generation, const FindPanelSearch::Outcome &outcome)
{
    // A search that a newer one superseded never replaces the newer one's results.
    if (generation != m_generation)
        return;
    showSearchEnd(outcome);
    const QList<SearchResultRowPtr> &results = outcome.rows;
    m_listedGeneration = generation;
    // Every search starts at its first match, as the window's first one does: a cursor left
    // elsewhere (or cleared by Replace All) would leave Replace acting on nothing.
    m_cursor = FindPanelCursor{};
    m_model->setSearchStringShown(!m_searchString.isEmpty());
    m_model->setCursor(m_cursor);
    m_model->setResults(results);
    if (!results.isEmpty())
        selectTableRow(0);
    updateReplaceButtons();
    // A click made while this search ran acts on its results.
    if (std::optional<PendingAction> pending = std::exchange(m_pendingAction, std::nullopt);
        pending && pending->generation == generation)
        pending->action();
    emit searchFinished();
}

// --- the current match ----------------------------------------------------------------------

int FindPanel::tableSelectedRow() const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FindPanel::selectTableRow(int row)
{
    m_selectingRow = true;
    if (row >= 0 && row < m_model->rowCount()) {
        m_tableView->selectionModel()->setCurrentIndex(
            m_model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_tableView->scrollTo(m_model->index(row, 0));
    }
    m_selectingRow = false;
}

void FindPanel::updateReplaceButtons()
{
    const bool hasText = !m_searchField->text().isEmpty();
    if (!hasText || !isShownTextSearched()) {
        m_replaceButtons->setEnabled(hasText);
        m_replaceButtons->segmentButton(0)->setEnabled(hasText);
        return;
    }
    const SearchResultRow *row = m_cursor.currentRow(searchResults());
    m_replaceButtons->setEnabled(!row || !FindPanelWriter::isDateRow(*row));
    m_replaceButtons->segmentButton(0)->setEnabled(hasReplaceableMatch());
}

bool FindPanel::hasReplaceableMatch() const
{
    const QList<SearchResultRowPtr> &results = searchResults();
    if (!m_cursor.designatesRange(results))
        return false;
    const SearchResultRow &row = *m_cursor.currentRow(results);
    const MatchScan::TextRange range = row.ranges.at(m_cursor.rangeIndex);
    return !FindPanelWriter::isDateRow(row) && range.location >= 0 && range.length > 0 &&
           range.location + range.length <= row.value.size();
}

// The picked row's first match becomes current, whatever match was current before (none, after
// Replace All, or one past this row's matches).
void FindPanel::tableViewDidSelectRow(int row)
{
    const int previous = m_cursor.row;
    m_cursor = FindPanelCursor::firstMatchOf(row, searchResults());
    m_model->setCursor(m_cursor);
    updateReplaceButtons();
    m_model->valueChanged(previous);
    m_model->valueChanged(row);
}

void FindPanel::showCurrentMatch(int previousRow)
{
    m_model->setCursor(m_cursor);
    updateReplaceButtons();
    selectTableRow(m_cursor.row);
    m_model->valueChanged(previousRow);
    m_model->valueChanged(m_cursor.row);
}

bool FindPanel::isShownTextSearched() const
{
    return m_generation > 0 && m_searchField->text() == m_searchString;
}

bool FindPanel::isShownTextNew() const
{
    return !m_searchField->text().isEmpty() && m_searchField->text() != m_searchString;
}

// The current match and the listed ones belong to the last search: a click on a field edited
// since then would act on a string the field no longer shows.
void FindPanel::actOnShownText(std::function<void()> action, bool needsListedMatches)
{
    if (m_searchField->text().isEmpty())
        return;
    if (isShownTextNew())
        textDidEnter();
    else if (needsListedMatches && m_generation == 0)
        updateTable();
    if (m_listedGeneration == m_generation) {
        action();
        return;
    }
    m_pendingAction = PendingAction{m_generation, std::move(action)};
}

void FindPanel::directionButtonDidClick(int segment)
{
    if (segment == 1 && isShownTextNew()) {
        textDidEnter();
        return;
    }
    actOnShownText([this, segment] { stepCurrentMatch(segment); }, false);
}

void FindPanel::stepCurrentMatch(int segment)
{
    const QList<SearchResultRowPtr> &results = searchResults();
    const int selected = tableSelectedRow();
    if (selected < 0) {
        updateTable();
        return;
    }
    const int previous = m_cursor.row;
    if (segment == 1)
        m_cursor.next(int(results.at(selected)->ranges.size()), results.size());
    else
        m_cursor.previous(results);
    showCurrentMatch(previous);
}

// --- replacing ------------------------------------------------------------------------------

void FindPanel::replaceButtonDidClick(int segment)
{
    if (segment == 0)
        actOnShownText([this] { replaceCurrentMatch(); }, true);
    else if (segment == 1)
        actOnShownText([this] { replaceAllMatches(); }, true);
}

void FindPanel::replaceCurrentMatch()
{
    if (!hasReplaceableMatch())
        return;
    const QList<SearchResultRowPtr> &results = searchResults();
    const SearchResultRowPtr row = results.at(m_cursor.row);
    const int rangeCount = int(row->ranges.size());
    const MatchScan::TextRange range = row->ranges.at(m_cursor.rangeIndex);
    const QString value = QString(row->value).replace(range.location, range.length, m_replaceField->text());
    // A match replaced by itself writes nothing, as Replace All skips it.
    if (value != row->value)
        undoReplaceValue(value, MatchScan(m_searchString, m_compareOptions).ranges(value), row);
    const int previous = m_cursor.row;
    m_cursor.next(rangeCount, results.size());
    showCurrentMatch(previous);
}

void FindPanel::replaceAllMatches()
{
    // An empty search string lists nothing that could be replaced.
    if (m_searchString.isEmpty())
        return;
    const QString replacement = m_replaceField->text();
    {
        const UndoGroup group(*m_undoManager);
        std::optional<UndoGroup> mainGroup;
        if (m_setup.mainUndoManager)
            mainGroup.emplace(*m_setup.mainUndoManager);
        // The listed matches are replaced: the ones the search found with its own string and mode.
        for (const SearchResultRowPtr &row : searchResults()) {
            if (FindPanelWriter::isDateRow(*row))
                continue;
            const QString value = replacedRanges(row->value, row->ranges, replacement);
            if (value != row->value)
                undoReplaceValue(value, {}, row);
        }
    }
    const int selected = m_cursor.row;
    m_model->setResults(searchResults());
    if (selected >= 0 && selected < searchResults().size())
        selectTableRow(selected);
    m_cursor = {-1, -1};
    m_model->setCursor(m_cursor);
    updateReplaceButtons();
}

void FindPanel::undoReplaceValue(const QVariant &value, const QList<MatchScan::TextRange> &ranges,
                                 const SearchResultRowPtr &row)
{
    if (!row)
        return;
    const QVariant oldValue = m_writer.currentValue(*row);
    const QList<MatchScan::TextRange> oldRanges = row->ranges;
    m_undoManager->registerUndo(
        [this, oldValue, oldRanges, row] { undoReplaceValue(oldValue, oldRanges, row); });
    row->value = FindPanelWriter::shownText(*row, value);
    row->ranges = ranges;
    m_writer.write(*row, value);
    const int shown = m_model->rowOf(row.get());
    m_model->valueChanged(shown);
    m_model->namesChanged();
    // Its ranges changed: an undo brings matches back, an in-place edit takes them.
    updateReplaceButtons();
}

// --- editing --------------------------------------------------------------------------------

void FindPanel::tableViewDoubleAction(const QModelIndex &index)
{
    const QList<SearchResultRowPtr> &results = searchResults();
    if (!index.isValid() || index.row() >= results.size() || !isEditing())
        return;
    const SearchResultRowPtr row = results.at(index.row());
    if (FindPanelWriter::isDateRow(*row)) {
        showDatePopover(row, m_tableView->visualRect(index));
        return;
    }
    // Only the value is edited in place, whichever cell of its row was clicked.
    m_tableView->edit(m_model->index(index.row(), FindPanelResultsModel::ValueColumn));
}

void FindPanel::textFieldCellChanged(int row, const QString &text)
{
    const QList<SearchResultRowPtr> &results = searchResults();
    if (row < 0 || row >= results.size() || !isEditing())
        return;
    const SearchResultRowPtr result = results.at(row);
    if (FindPanelWriter::isDateRow(*result) || text == result->value)
        return;
    undoReplaceValue(text, {MatchScan::TextRange{0, 0}}, result);
}

void FindPanel::showDatePopover(const SearchResultRowPtr &row, const QRect &rect)
{
    if (!m_setup.dateEditorFactory || !row->contact || !row->contact->person)
        return;
    if (!m_popover) {
        m_popover = new Popover(this);
        m_popover->setBehavior(Popover::Behavior::Transient);
        connect(m_popover, &Popover::closed, this, &FindPanel::popoverDidClose);
    }
    m_dateEditor = m_setup.dateEditorFactory();
    m_dateRow = row;
    m_dateEditor->setPopover(m_popover);
    QVariant entry;
    if (row->item == QLatin1String("Dates")) {
        entry = m_writer.currentValue(*row);
        m_dateEditor->setLabels({entry.toMap().value(QStringLiteral("label")).toString()});
    }
    m_popover->setContentWidget(m_dateEditor->view());
    m_popover->setContentSize(DateEditorSize);
    m_popover->showRelativeToRect(rect, m_tableView->viewport(), Popover::Edge::MaxY);
    m_dateEditor->setContextInfo(row->contact, row->item, entry, isEditing());
}

void FindPanel::popoverDidClose()
{
    if (!m_dateEditor)
        return;
    const std::optional<QVariant> value = m_dateEditor->dirtyValue();
    const SearchResultRowPtr row = std::exchange(m_dateRow, nullptr);
    m_dateEditor.reset();
    // The date goes to the row the editor was opened for, while the table still selects a row.
    if (value && row && tableSelectedRow() >= 0)
        undoReplaceValue(*value, {}, row);
}

void FindPanel::sortResults(int column, Qt::SortOrder order)
{
    if (searchResults().isEmpty())
        return;
    const int selected = tableSelectedRow();
    const SearchResultRowPtr remembered = selected >= 0 ? searchResults().at(selected) : nullptr;
    const SearchResultRow *current = m_cursor.currentRow(searchResults());
    m_model->sort(column, order);
    // The current match moves with its row.
    if (current) {
        m_cursor.row = m_model->rowOf(current);
        m_model->setCursor(m_cursor);
    }
    m_tableView->reset();
    if (remembered)
        selectTableRow(m_model->rowOf(remembered.get()));
}
