// One command over many contacts, as the grid's Append Text makes it: 1,206 contacts' companies
// changed in one undo group through the main view controller, with the real grid and detail pane
// showing the 20,000 contacts; then the step undone.

#include "BenchAddressBook.h"
#include "BenchContacts.h"
#include "BenchMain.h"

#include "addressbook/UndoGroup.h"
#include "app/SplitPanes.h"
#include "app/ViewController.h"
#include "model/QNPerson.h"
#include "platform/UndoManager.h"
#include "ui/contracts/ContactInfoInterface.h"
#include "ui/contracts/ContactsGridInterface.h"

#include <QAbstractItemView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int EditedCount = 1206;
const QString Company = QStringLiteral("Company");

struct Fixture
{
    BenchAddressBook addressBook;
    std::unique_ptr<ViewController> view;
    ContactTablePtr rows;

    Fixture()
    {
        rows = addressBook.load();
        if (!rows || rows->size() < EditedCount)
            return;
        view = std::make_unique<ViewController>(addressBook.defaults(), SplitPanes::makeDefault(addressBook.defaults()));
        view->viewDidLoad();
        view->setCustomItems(BenchContacts::customItems());
        view->setContainerTable(addressBook.loader().containerTable());
        view->setSelectedGroupDict(addressBook.loader().selectedGroupDict());
        view->setContactTable(rows);
        view->setRepresentedObject(QVariant());
        view->contactsViewController()->setSelectedViewType(QStringLiteral("Phone"));
        view->contactInfoController()->setContact(rows->at(0));
    }
};

std::unique_ptr<Fixture> s_fixture;

void appendToCompanies(benchmark::State &state)
{
    if (!s_fixture)
        s_fixture = std::make_unique<Fixture>();
    if (!s_fixture->view) {
        state.SkipWithError("the load lost contacts");
        return;
    }
    ViewController &view = *s_fixture->view;
    QObject *grid = view.contactsViewController()->tableView();
    for (auto _ : state) {
        {
            UndoGroup group(*view.undoManager());
            for (int i = 0; i < EditedCount; ++i) {
                const ContactRowPtr &row = s_fixture->rows->at(i * 16 % s_fixture->rows->size());
                const QString company = row->person->stringValueForIdentifier(Company);
                view.undoReplaceValue(company + QStringLiteral(" Ltd."), Company, row, grid);
            }
        }
        view.undo();
    }
    state.counters["contacts"] = EditedCount;
}

} // namespace

BENCHMARK(appendToCompanies)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true, [] { s_fixture.reset(); });
}
