#include "print/PrintWindow.h"

#include "platform/Localizer.h"
#include "platform/PrintInfo.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/PrintPanel.h"
#include "print/AccessoryViewController.h"
#include "print/PrintRenderer.h"
#include "print/PrintView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QList<QPageSize::PageSizeId> PaperSizes{
    QPageSize::A4,         QPageSize::Letter,     QPageSize::Legal,      QPageSize::A5,
    QPageSize::B5,         QPageSize::Executive,  QPageSize::EnvelopeDL, QPageSize::EnvelopeC5,
    QPageSize::Envelope10, QPageSize::Postcard,
};

} // namespace

PrintWindow::PrintWindow(PrintView &view, PrintAccessoryInterface *accessory, PrintInfo &printInfo,
                         PrintServices::PanelOptions options, QWidget *window)
    : Sheet(window), m_view(view), m_printInfo(printInfo),
      m_accessory(dynamic_cast<AccessoryViewController *>(accessory)),
      m_accessoryView(accessory ? accessory->view() : nullptr),
      m_previewPrinter(std::make_unique<QPrinter>(QPrinter::ScreenResolution))
{
    setWindowTitle(L(QStringLiteral("Print")));
    m_previewPrinter->setPageLayout(printInfo.pageLayout());
    m_preview = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &PrintWindow::renderPreview);
    if (m_accessory)
        connect(m_accessory, &AccessoryViewController::previewChanged, m_preview,
                &QPrintPreviewWidget::updatePreview);

    auto *panes = new QSplitter(this);
    if (m_accessoryView)
        panes->addWidget(m_accessoryView);
    panes->addWidget(m_preview);
    panes->setStretchFactor(panes->count() - 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panes, 1);
    layout->addWidget(makeControls(options));
    resize(900, 640);
}

PrintWindow::~PrintWindow()
{
    giveBackAccessory();
    // The preview holds the printer, which goes before the window's children do.
    delete m_preview;
}

QWidget *PrintWindow::makeControls(PrintServices::PanelOptions options)
{
    auto *controls = new QWidget(this);
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    const QPageLayout paper = m_printInfo.pageLayout();
    m_paperSize = new QComboBox(controls);
    for (QPageSize::PageSizeId id : PaperSizes)
        m_paperSize->addItem(QPageSize::name(id), QVariant::fromValue(QPageSize(id)));
    if (m_paperSize->findText(paper.pageSize().name()) < 0)
        m_paperSize->addItem(paper.pageSize().name(), QVariant::fromValue(paper.pageSize()));
    m_paperSize->setCurrentText(paper.pageSize().name());
    m_orientation = new QComboBox(controls);
    m_orientation->addItem(L(QStringLiteral("Portrait")), int(QPageLayout::Portrait));
    m_orientation->addItem(L(QStringLiteral("Landscape")), int(QPageLayout::Landscape));
    m_orientation->setCurrentIndex(paper.orientation() == QPageLayout::Landscape ? 1 : 0);
    connect(m_paperSize, &QComboBox::currentIndexChanged, this, &PrintWindow::paperChanged);
    connect(m_orientation, &QComboBox::currentIndexChanged, this, &PrintWindow::paperChanged);
    if (options.testFlag(PrintServices::ShowsPaperSize)) {
        row->addWidget(new QLabel(L(QStringLiteral("Paper Size:")), controls));
        row->addWidget(m_paperSize);
    } else {
        m_paperSize->hide();
    }
    if (options.testFlag(PrintServices::ShowsOrientation)) {
        row->addWidget(new QLabel(L(QStringLiteral("Orientation:")), controls));
        row->addWidget(m_orientation);
    } else {
        m_orientation->hide();
    }
    row->addStretch(1);
    auto *cancelButton = new QPushButton(L(QStringLiteral("Cancel")), controls);
    m_printButton = new QPushButton(L(QStringLiteral("Print…")), controls);
    m_printButton->setDefault(true);
    connect(cancelButton, &QPushButton::clicked, this, &PrintWindow::cancel);
    connect(m_printButton, &QPushButton::clicked, this, &PrintWindow::print);
    row->addWidget(cancelButton);
    row->addWidget(m_printButton);
    return controls;
}

void PrintWindow::begin(std::function<void(bool)> completion)
{
    // The window is gone with its completion; the print command makes a new one each time.
    beginSheetModalForWindow(parentWidget(), [this, completion](int code) {
        giveBackAccessory();
        if (completion)
            completion(code == 1);
        deleteLater();
    });
}

void PrintWindow::renderPreview(QPrinter *printer)
{
    PrintRenderer::render(m_view, *printer);
}

void PrintWindow::paperChanged()
{
    const QPageLayout paper(m_paperSize->currentData().value<QPageSize>(),
                            QPageLayout::Orientation(m_orientation->currentData().toInt()), QMarginsF(),
                            QPageLayout::Point);
    m_printInfo.setPageLayout(paper);
    if (m_accessory)
        m_accessory->paperChanged();
    m_previewPrinter->setPageLayout(paper);
    m_preview->updatePreview();
}

void PrintWindow::print()
{
    if (m_printer)
        return;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageLayout(m_printInfo.pageLayout());
    m_printer->setDocName(windowTitle());
    PrintPanel panel;
    panel.beginSheetModalForWindow(this, m_printer.get(), [this](bool accepted) { printerChosen(accepted); });
}

void PrintWindow::printerChosen(bool accepted)
{
    const std::unique_ptr<QPrinter> printer = std::move(m_printer);
    if (!accepted)
        return;
    if (!PrintRenderer::render(m_view, *printer)) {
        Alert alert;
        alert.setMessageText(L(QStringLiteral("The contacts could not be printed.")));
        alert.setInformativeText(printer->outputFileName().isEmpty()
                                     ? L(QStringLiteral("The printer could not be started."))
                                     : L(QStringLiteral("The file could not be written.")));
        alert.beginSheetModalForWindow(this);
        return;
    }
    // The next print starts on the paper this one was printed on.
    m_printInfo.setPageLayout(printer->pageLayout());
    endSheet(1);
}

void PrintWindow::cancel()
{
    endSheet(0);
}

void PrintWindow::giveBackAccessory()
{
    if (!m_accessoryView)
        return;
    m_accessoryView->hide();
    m_accessoryView->setParent(nullptr);
    m_accessoryView = nullptr;
}
