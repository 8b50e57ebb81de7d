#include "panels/QRCodePanelController.h"

#include "model/QNPerson.h"
#include "panels/QRCodeImage.h"
#include "panels/QRCodeView.h"
#include "platform/Localizer.h"
#include "platform/PlatformUtil.h"
#include "platform/widgets/PasteboardTypes.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column
{
    TypeColumn,
    ValueColumn
};

} // namespace

QRCodePanelController::QRCodePanelController(QWidget *parent)
    : Sheet(parent), m_tableView(new QTableWidget(0, 2)), m_formatPopup(new QComboBox),
      m_textView(new QPlainTextEdit), m_imageView(new QRCodeView), m_copyButton(new QPushButton),
      m_closeButton(new QPushButton)
{
    auto *codeColumn = new QVBoxLayout;
    codeColumn->addWidget(m_formatPopup);
    // A larger sheet gives the code more room, and so larger modules.
    codeColumn->addWidget(m_imageView, 1);
    codeColumn->addWidget(m_textView);
    auto *panes = new QHBoxLayout;
    panes->addWidget(m_tableView, 3);
    panes->addLayout(codeColumn, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copyButton);
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panes);
    layout->addLayout(buttons);

    for (const QRFormat format : QRPayload::allFormats())
        m_formatPopup->addItem(QRPayload::title(format), QVariant::fromValue(int(format)));
    m_tableView->setSelectionMode(QAbstractItemView::NoSelection);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->horizontalHeader()->hide();
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    m_tableView->verticalHeader()->hide();
    m_tableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tableView->verticalHeader()->setMinimumSectionSize(1);
    m_tableView->setMinimumWidth(360);
    m_tableView->setWordWrap(false);
    resize(880, 560);
    m_copyButton->setText(L(QStringLiteral("Copy")));

    connect(m_formatPopup, &QComboBox::currentIndexChanged, this,
            &QRCodePanelController::formatPopupSelected);
    connect(m_tableView, &QTableWidget::itemChanged, this, &QRCodePanelController::tableItemChanged);
    connect(m_copyButton, &QPushButton::clicked, this, &QRCodePanelController::copyButtonPressed);
    connect(m_closeButton, &QPushButton::clicked, this, &QRCodePanelController::closeButtonPressed);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
            &QRCodePanelController::copy);
    windowDidLoad();
}

void QRCodePanelController::windowDidLoad()
{
    m_rowHeight = 20;
    m_closeButton->setText(L(QStringLiteral("Close")));
    m_textView->setReadOnly(true);
    if (m_contact)
        formatPopupSelected();
}

// --- the selection table --------------------------------------------------------------------

void QRCodePanelController::setContact(const SubContactRowPtr &contact)
{
    m_textView->clear();
    m_contact = contact;
    m_table.clear();
    if (contact && contact->person)
        m_table = QRSelectionRow::rowsFromPerson(*contact->person);
    formatPopupSelected();
}

void QRCodePanelController::reloadData()
{
    const QSignalBlocker blocker(m_tableView);
    m_tableView->setRowCount(int(m_table.size()));
    for (int row = 0; row < m_table.size(); ++row)
        fillRow(row);
}

// Items are updated in place: a tick arrives from inside the item's own change.
void QRCodePanelController::fillRow(int row)
{
    const QRSelectionRow &entry = m_table.at(row);
    QTableWidgetItem *type = itemAt(row, TypeColumn);
    type->setText(QNPerson::localizedIdentifierForKey(entry.type));
    type->setFlags(Qt::ItemIsEnabled);

    QTableWidgetItem *value = itemAt(row, ValueColumn);
    value->setText(entry.title());
    // Taller scripts may not fit the fixed line height; the whole value stays readable.
    value->setToolTip(entry.title());
    value->setFlags(isRowEnabled(row) ? Qt::ItemIsUserCheckable | Qt::ItemIsEnabled
                                      : Qt::ItemIsUserCheckable);
    value->setCheckState(entry.selected ? Qt::Checked : Qt::Unchecked);
    m_tableView->verticalHeader()->resizeSection(row, heightOfRow(row));
}

QTableWidgetItem *QRCodePanelController::itemAt(int row, int column)
{
    QTableWidgetItem *item = m_tableView->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_tableView->setItem(row, column, item);
    }
    return item;
}

void QRCodePanelController::tableItemChanged(QTableWidgetItem *item)
{
    if (item->column() == ValueColumn)
        setRowSelected(item->row(), item->checkState() == Qt::Checked);
}

void QRCodePanelController::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= m_table.size())
        return;
    m_table[row].selected = selected;
    formatPopupSelected();
}

bool QRCodePanelController::isRowEnabled(int row) const
{
    return row >= 0 && row < m_table.size() &&
           QRPayload::formatUsesKind(selectedFormat(), m_table.at(row).type);
}

int QRCodePanelController::heightOfRow(int row) const
{
    return row >= 0 && row < m_table.size() ? m_table.at(row).height(m_rowHeight) : m_rowHeight;
}

// --- payload and image ----------------------------------------------------------------------

QRFormat QRCodePanelController::selectedFormat() const
{
    return QRFormat(m_formatPopup->currentData().toInt());
}

void QRCodePanelController::selectFormat(QRFormat format)
{
    m_formatPopup->setCurrentIndex(m_formatPopup->findData(int(format)));
}

void QRCodePanelController::formatPopupSelected()
{
    m_payload.clear();
    if (m_contact && m_contact->person)
        m_payload =
            QRPayload::payload(selectedFormat(), QRContactValues::fromPerson(*m_contact->person), m_table);
    m_textView->setPlainText(m_payload);
    showCode(QRCodeImage::framedSymbolFromString(m_payload));
    reloadData();
}

void QRCodePanelController::showCode(const QImage &framedSymbol)
{
    m_image = QRCodeImage::codeImageFromFramedSymbol(framedSymbol);
    m_copyButton->setEnabled(!m_image.isNull());
    if (!framedSymbol.isNull())
        m_imageView->showCode(framedSymbol);
    else if (!m_payload.isEmpty())
        m_imageView->showMessage(L(QStringLiteral("The chosen values are too long for a QR code.")));
    else
        m_imageView->clear();
}

// --- buttons --------------------------------------------------------------------------------

void QRCodePanelController::copy()
{
    // As the text view would answer the key itself, selected payload text is copied as text.
    if (m_textView->hasFocus() && m_textView->textCursor().hasSelection())
        m_textView->copy();
    else if (!m_image.isNull())
        copyImage();
}

void QRCodePanelController::copyButtonPressed()
{
    if (!m_image.isNull())
        copyImage();
}

void QRCodePanelController::copyImage()
{
    auto *data = new QMimeData;
    data->setData(PasteboardTypes::mimeType(PasteboardTypes::PNG), PlatformUtil::pngData(m_image));
    QGuiApplication::clipboard()->setMimeData(data);
}

void QRCodePanelController::closeButtonPressed()
{
    m_textView->clear();
    done(1);
}
