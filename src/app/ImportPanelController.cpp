#include "app/ImportPanelController.h"

#include "detail/DetailTableController.h"
#include "model/QNPerson.h"
#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

ImportPanelController::ImportPanelController(UserDefaults &defaults, QWidget *parent)
    : Sheet(parent), m_importFilename(new QLabel), m_nameTableView(new QTableWidget(0, 1)),
      m_cancelButton(new QPushButton(L(QStringLiteral("Cancel")))),
      m_selectButton(new QPushButton(L(QStringLiteral("Add")))),
      m_contactInfoController(std::make_unique<DetailTableController>(*this, defaults))
{
    setWindowTitle(L(QStringLiteral("Import")));
    m_nameTableView->setHorizontalHeaderLabels({L(QStringLiteral("Name"))});
    m_nameTableView->horizontalHeader()->setStretchLastSection(true);
    m_nameTableView->verticalHeader()->hide();
    m_nameTableView->verticalHeader()->setDefaultSectionSize(int(m_rowHeight));
    m_nameTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_nameTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_nameTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(m_nameTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ImportPanelController::selectionDidChange);

    auto *split = new QSplitter(Qt::Horizontal);
    split->addWidget(m_nameTableView);
    split->addWidget(m_contactInfoController->takeTableView());
    split->setSizes({220, 360});
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_selectButton);
    m_selectButton->setDefault(true);
    m_selectButton->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_importFilename);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(640, 420);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { endSheet(0); });
    connect(m_selectButton, &QPushButton::clicked, this, [this] { endSheet(1); });
}

ImportPanelController::~ImportPanelController() = default;

// Every row starts chosen: a file is imported to be added, and Add with nothing chosen would add
// nothing without a word.
void ImportPanelController::setNameTable(const ContactTable &rows)
{
    m_nameTable = rows;
    reloadData();
    m_nameTableView->selectAll();
    m_importFilename->setText(m_filename);
}

void ImportPanelController::reloadData()
{
    m_nameTableView->clearSelection();
    m_nameTableView->setRowCount(int(m_nameTable.size()));
    const QIcon guest(QStringLiteral(":/icons/icon_person.png"));
    for (int i = 0; i < m_nameTable.size(); ++i) {
        const ContactRowPtr &row = m_nameTable.at(i);
        QString name = row && row->person ? row->person->compositeName() : QString();
        if (name.isEmpty())
            name = L(QStringLiteral("No name"));
        m_nameTableView->setItem(i, 0, new QTableWidgetItem(guest, name));
    }
}

QList<int> ImportPanelController::selectedIndexes() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_nameTableView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// An emptied selection leaves the preview as it was, and Add is offered only for chosen rows.
void ImportPanelController::selectionDidChange()
{
    const QList<int> rows = selectedIndexes();
    m_selectButton->setEnabled(!rows.isEmpty());
    if (!rows.isEmpty())
        showPreview(rows.first());
}

void ImportPanelController::showPreview(int row)
{
    if (row < 0 || row >= m_nameTable.size())
        return;
    DetailTableController &preview = *m_contactInfoController;
    preview.setSelectedLabels({QStringLiteral("All")});
    preview.setEditState(false);
    preview.setFindString(QString());
    preview.setContact(m_nameTable.at(row));
}
