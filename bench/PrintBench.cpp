// Printing the 20,000 loaded contacts in the "Address List" style, with the items of the default
// view ticked as the print command ticks them: the layout of the pages (what the print window
// does when it opens and at every change in it), and the whole print into a PDF file.

#include "BenchAddressBook.h"
#include "BenchMain.h"

#include "platform/PrintInfo.h"
#include "print/ItemTableModel.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"
#include "print/PrintRenderer.h"
#include "print/PrintView.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

PrintOptionsPtr addressListOptions()
{
    auto options = std::make_shared<QVariantMap>(PrintOptionsDict::createPrintOptions());
    options->insert(PrintKey::PrintStyle, PrintStyleName::AddressList);
    QVariantMap list = options->value(PrintKey::AddressListOptions).toMap();
    QVariantList table = list.value(PrintKey::ItemTable).toList();
    ItemTableModel::tickColumns(table, {QStringLiteral("Name"), QStringLiteral("Email")});
    list.insert(PrintKey::ItemTable, table);
    options->insert(PrintKey::AddressListOptions, list);
    return options;
}

QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
}

struct Fixture
{
    BenchAddressBook addressBook;
    QList<SubContactRowPtr> rows;

    Fixture()
    {
        const ContactTablePtr table = addressBook.load();
        if (!table)
            return;
        for (const ContactRowPtr &contact : std::as_const(*table)) {
            auto row = std::make_shared<SubContactRow>();
            static_cast<ContactRow &>(*row) = *contact;
            rows.append(row);
        }
    }
};

std::unique_ptr<Fixture> s_fixture;

// A view of every contact in the address-list style, as the print command makes it (which lays
// it out once); null when the load failed.
std::unique_ptr<PrintView> addressListView(benchmark::State &state)
{
    if (!s_fixture)
        s_fixture = std::make_unique<Fixture>();
    if (s_fixture->rows.isEmpty()) {
        state.SkipWithError("the load lost contacts");
        return nullptr;
    }
    PrintInfo printInfo;
    printInfo.setPageLayout(a4());
    auto view = std::make_unique<PrintView>(s_fixture->rows, printInfo, addressListOptions());
    view->setPrinting(true);
    return view;
}

void layoutAddressList(benchmark::State &state)
{
    const std::unique_ptr<PrintView> view = addressListView(state);
    if (!view)
        return;
    int pages = 0;
    for (auto _ : state)
        pages = view->paginate(a4());
    state.counters["pages"] = pages;
}

// What Print to PDF holds the window for: the layout, then every page drawn into the file.
void printAddressListToPdf(benchmark::State &state)
{
    const std::unique_ptr<PrintView> view = addressListView(state);
    if (!view)
        return;
    QTemporaryDir folder;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QStringLiteral("contacts.pdf")));
        printer.setPageLayout(a4());
        if (!PrintRenderer::render(*view, printer)) {
            state.SkipWithError("the PDF could not be written");
            return;
        }
    }
    state.counters["pages"] = view->pageCount();
}

} // namespace

BENCHMARK(layoutAddressList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printAddressListToPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true, [] { s_fixture.reset(); });
}
