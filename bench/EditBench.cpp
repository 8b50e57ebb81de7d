// One command over many contacts, as the grid's Append Text makes it: 1,206 contacts' companies
// changed in one undo group through the main view controller, with the real grid and detail pane
// showing the 20,000 contacts; then the step undone.

#include "BenchAddressBook.h"
#include "BenchContacts.h"
#include "BenchMain.h"

#include "addressbook/UndoGroup.h"
#include "app/SplitPanes.h"
#include "app/ViewController.h"
#include "find/FindBarController.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UndoManager.h"
#include "ui/contracts/ContactInfoInterface.h"
#include "ui/contracts/ContactsGridInterface.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int EditedCount = 1206;
const QString Company = QStringLiteral("Company");
const QString Email = QStringLiteral("Email");

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
        view = std::make_unique<ViewController>(addressBook.defaults(),
                                                SplitPanes::makeDefault(addressBook.defaults()));
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

ViewController *viewOfFixture(benchmark::State &state)
{
    if (!s_fixture)
        s_fixture = std::make_unique<Fixture>();
    if (!s_fixture->view)
        state.SkipWithError("the load lost contacts");
    return s_fixture->view.get();
}

void appendToCompanies(benchmark::State &state)
{
    ViewController *shown = viewOfFixture(state);
    if (!shown)
        return;
    ViewController &view = *shown;
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

// Every e-mail address of the 20,000 contacts (about 26,000 grid rows in the "Email" view) appended
// to in one undo group, as Append Text over the whole column writes them; the grid rebuilt as the
// command ends it.
void appendToEveryEmail(ViewController &view)
{
    QObject *grid = view.contactsViewController()->tableView();
    UndoGroup group(*view.undoManager());
    for (const ContactRowPtr &row : std::as_const(*s_fixture->rows)) {
        const QVariantList emails = row->person->labeledValueForIdentifier(Email);
        for (const QVariant &email : emails) {
            QVariantMap entry = email.toMap();
            const QString text = entry.value(PersonKey::StringValue).toString() + QStringLiteral(" (old)");
            entry.insert(PersonKey::StringValue, text);
            entry.insert(PersonKey::Value, text);
            view.undoReplaceLabeledValue(entry, Email, row, grid);
        }
    }
}

// The grid's own events after a command (its redraw, what the selection change posts) belong to it.
void settle()
{
    QCoreApplication::processEvents();
}

// Runs the command and its undo, with their events, in every iteration; times the command for
// undo:0 and the undo for undo:1.
template <typename Command>
void timeCommandOrItsUndo(benchmark::State &state, ViewController &view, Command command)
{
    const bool timeUndo = state.range(0) == 1;
    for (auto _ : state) {
        if (timeUndo)
            state.PauseTiming();
        command();
        settle();
        if (timeUndo)
            state.ResumeTiming();
        else
            state.PauseTiming();
        view.undo();
        settle();
        if (!timeUndo)
            state.ResumeTiming();
    }
}

void appendToEmails(benchmark::State &state)
{
    ViewController *shown = viewOfFixture(state);
    if (!shown)
        return;
    ViewController &view = *shown;
    // Shown, so that the redraws after the command and its undo are painted as on screen.
    view.resize(1400, 900);
    view.show();
    view.contactsViewController()->setSelectedViewType(Email);
    // The command's rows are the selected ones: the whole column.
    view.contactsViewController()->tableView()->selectAll();
    settle();
    timeCommandOrItsUndo(state, view, [&view] {
        appendToEveryEmail(view);
        view.contactsViewController()->updateTable();
    });
    view.contactsViewController()->setSelectedViewType(QStringLiteral("Phone"));
    view.hide();
}

// The find bar's Replace All over the "Email" column of the 20,000 contacts: "example" becomes
// "sample" in every address (about 30,000 entries), one undo group, the grid rebuilt as it ends.
// undo:0 times the command, undo:1 its undo, each with the events it posts.
void replaceAllInEmails(benchmark::State &state)
{
    ViewController *shown = viewOfFixture(state);
    if (!shown)
        return;
    ViewController &view = *shown;
    auto *bar = dynamic_cast<FindBarController *>(view.findBarController());
    if (!bar) {
        state.SkipWithError("no find bar");
        return;
    }
    view.resize(1400, 900);
    view.show();
    view.contactsViewController()->setSelectedViewType(Email);
    view.findStringDidChange(QStringLiteral("example"));
    bar->replaceStringField()->setText(QStringLiteral("sample"));
    settle();
    timeCommandOrItsUndo(state, view, [&view] { view.findBarButtonDidPress(FindBarCommand::ReplaceAll); });
    view.findStringDidChange(QString());
    view.contactsViewController()->setSelectedViewType(QStringLiteral("Phone"));
    view.hide();
}

// Select All and Delete Contacts over the 20,000 shown contacts: every group holding one marks its
// row, and the grid drops them.
void deleteEveryContact(benchmark::State &state)
{
    ViewController *shown = viewOfFixture(state);
    if (!shown)
        return;
    ViewController &view = *shown;
    view.resize(1400, 900);
    view.show();
    for (auto _ : state) {
        state.PauseTiming();
        view.contactsViewController()->tableView()->selectAll();
        settle();
        state.ResumeTiming();
        view.deleteContacts(nullptr);
        settle();
        state.PauseTiming();
        view.undo();
        settle();
        state.ResumeTiming();
    }
    view.hide();
    state.counters["contacts"] = double(s_fixture->rows->size());
}

} // namespace

BENCHMARK(deleteEveryContact)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(appendToEmails)->Arg(0)->Arg(1)->ArgName("undo")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(replaceAllInEmails)->Arg(0)->Arg(1)->ArgName("undo")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(appendToCompanies)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true, [] { s_fixture.reset(); });
}
