// Rebuilding and re-sorting the contacts grid for the 20,000 loaded contacts (about 50,000 rows
// in the Phone view): under a name sort, under a phone sort, and after a change of the label
// filter.

#include "BenchAddressBook.h"
#include "BenchGrid.h"
#include "BenchMain.h"

#include "model/QNPerson.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Fixture
{
    BenchAddressBook addressBook;
    BenchGrid grid;
    bool ok = false;

    Fixture()
    {
        const ContactTablePtr table = addressBook.load();
        if (!table)
            return;
        grid.show(table);
        // A selection to carry over, as the user would have.
        grid.controller().selectRowIndexesWithContacts({table->at(10), table->at(table->size() / 4)});
        ok = true;
    }
};

// Made at first use, gone before the application.
std::unique_ptr<Fixture> s_fixture;

ContactsViewController *controller(benchmark::State &state)
{
    if (!s_fixture)
        s_fixture = std::make_unique<Fixture>();
    if (s_fixture->ok)
        return &s_fixture->grid.controller();
    state.SkipWithError("the load lost contacts");
    return nullptr;
}

void updateTableSortedBy(benchmark::State &state, const QString &key)
{
    ContactsViewController *grid = controller(state);
    if (!grid)
        return;
    grid->setSelectedLabels({QStringLiteral("All")});
    grid->setSortDescriptors({{key, true}});
    for (auto _ : state)
        grid->updateTable();
    state.counters["rows"] = double(grid->subContactTable().size());
}

void updateTableByName(benchmark::State &state)
{
    updateTableSortedBy(state, QStringLiteral("compositeName"));
}

void updateTableByPhone(benchmark::State &state)
{
    updateTableSortedBy(state, QStringLiteral("Phone"));
}

// A third of the contacts have a company, which takes a second line under their name.
void updateTableWithCompanyLines(benchmark::State &state)
{
    ContactsViewController *grid = controller(state);
    if (!grid)
        return;
    grid->setSortDescriptors({{QStringLiteral("compositeName"), true}});
    grid->toggleShowCompany();
    for (auto _ : state)
        grid->updateTable();
    grid->toggleShowCompany();
}

// The label filter switched between ["home"] and ["All"], then updateTable.
void labelFilterChange(benchmark::State &state)
{
    ContactsViewController *grid = controller(state);
    if (!grid)
        return;
    grid->setSortDescriptors({{QStringLiteral("compositeName"), true}});
    bool filtered = false;
    for (auto _ : state) {
        filtered = !filtered;
        grid->setSelectedLabels(filtered ? QStringList{QStringLiteral("home")} : QStringList{QStringLiteral("All")});
        grid->updateTable();
    }
    grid->setSelectedLabels({QStringLiteral("All")});
}

// One contact's phone number changed before each update, as after an edit in the grid: only that
// contact's values are read again.
void updateTableAfterEdit(benchmark::State &state)
{
    ContactsViewController *grid = controller(state);
    if (!grid)
        return;
    grid->setSelectedLabels({QStringLiteral("All")});
    grid->setSortDescriptors({{QStringLiteral("Phone"), true}});
    QNPerson &person = *grid->contactTable()->at(10)->person;
    const QVariantList phones = person.labeledValueForIdentifier(QStringLiteral("Phone"));
    int edits = 0;
    for (auto _ : state) {
        QVariantList edited = phones;
        QVariantMap first = edited.value(0).toMap();
        first.insert(QStringLiteral("value"), QStringLiteral("+1 555 %1").arg(++edits));
        edited[0] = first;
        person.setValue(edited, QStringLiteral("Phone"));
        grid->updateTable();
    }
    person.setValue(phones, QStringLiteral("Phone"));
}

// Every contact selected (Select All), as before a command over all of them: the selection is
// carried over the rebuild.
void updateTableAllSelected(benchmark::State &state)
{
    ContactsViewController *grid = controller(state);
    if (!grid)
        return;
    grid->setSelectedLabels({QStringLiteral("All")});
    grid->setSortDescriptors({{QStringLiteral("compositeName"), true}});
    const ContactTable everyone = *grid->contactTable();
    grid->selectRowIndexesWithContacts(everyone);
    for (auto _ : state)
        grid->updateTable();
    state.counters["selected"] = double(grid->tableView()->selectionModel()->selectedRows().size());
    grid->selectRowIndexesWithContacts({everyone.at(10), everyone.at(everyone.size() / 4)});
}

} // namespace

BENCHMARK(updateTableByName)->Unit(benchmark::kMillisecond);
BENCHMARK(updateTableByPhone)->Unit(benchmark::kMillisecond);
BENCHMARK(updateTableWithCompanyLines)->Unit(benchmark::kMillisecond);
BENCHMARK(labelFilterChange)->Unit(benchmark::kMillisecond);
BENCHMARK(updateTableAfterEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(updateTableAllSelected)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true, [] { s_fixture.reset(); });
}
