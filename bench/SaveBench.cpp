// A Save of 1,000 changed contacts and 100 new ones into the 20,000-contact store (a copy), the
// Save of one changed contact with the reload that follows it, and the window's first Save of the
// 20,000 contacts imported from contacts.vcf into an empty store.

#include "BenchAddressBook.h"
#include "BenchContacts.h"
#include "BenchData.h"
#include "BenchImport.h"
#include "BenchMain.h"

#include "addressbook/AddressBookSaver.h"
#include "app/AppDelegate.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/ContactStore.h"
#include "platform/widgets/TestMode.h"
#include "ui/contracts/ContactsGridInterface.h"

#include <QAbstractItemView>
#include <QDeadlineTimer>
#include <QDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

constexpr int ChangedCount = 1000;
constexpr int NewCount = 100;

QVariantMap entry(const QString &label, const QString &value)
{
    return {{PersonKey::Label, label}, {PersonKey::Value, value}};
}

// Every twentieth contact: a new note for half of them, a changed first phone number for the rest.
int changeContacts(const ContactTable &rows, int round)
{
    int changed = 0;
    for (qsizetype i = 0; i < rows.size() && changed < ChangedCount; i += rows.size() / ChangedCount) {
        QNPerson &person = *rows.at(i)->person;
        if (i % 2 == 0) {
            person.setValue(QStringLiteral("Edited in round %1.").arg(round), QStringLiteral("Note"));
        } else {
            QVariantList phones = person.labeledValueForIdentifier(QStringLiteral("Phone"));
            QVariantMap first = phones.value(0).toMap();
            first.insert(PersonKey::Value,
                         QStringLiteral("+44 20 7946 %1").arg((i + round) % 10000, 4, 10, QLatin1Char('0')));
            person.replaceLabeledEntries(QNPerson::LabeledKind::Phone, first, 0);
        }
        changed += person.isChanged() ? 1 : 0;
    }
    return changed;
}

int addContacts(ContactTable &rows, int round)
{
    for (int n = 0; n < NewCount; ++n) {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QStringLiteral("New%1").arg(n), PersonKey::FirstName);
        person->setValue(QStringLiteral("Round%1").arg(round), PersonKey::LastName);
        person->setValue(QVariantList{entry(QStringLiteral("mobile"),
                                            QStringLiteral("+1 555 01%1").arg(n, 2, 10, QLatin1Char('0')))},
                         QStringLiteral("Phone"));
        person->setValue(
            QVariantList{entry(QStringLiteral("work"), QStringLiteral("new%1@example.com").arg(n))},
            QStringLiteral("Email"));
        auto row = std::make_shared<ContactRow>();
        row->person = person;
        row->uniqueId = person->uniqueId();
        row->isNew = true;
        rows.append(row);
    }
    return NewCount;
}

void saveChanges(benchmark::State &state)
{
    BenchAddressBook addressBook(BenchAddressBook::Files::Copy);
    const ContactTablePtr rows = addressBook.load();
    if (!addressBook.error().isEmpty() || !rows) {
        state.SkipWithError("no store to save into");
        return;
    }
    ContactStore store(addressBook.storePath());
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        const ContactTable existing = *rows;
        if (changeContacts(existing, round) != ChangedCount || addContacts(*rows, round) != NewCount)
            state.SkipWithError("the edits did not mark the contacts");
        state.ResumeTiming();
        const StoreStatus status = AddressBookSaver(store, addressBook.cloud())
                                       .saveAddressBook(addressBook.loader().containerTable());
        if (!status.ok())
            state.SkipWithError(status.error.toStdString().c_str());
    }
    state.counters["changed"] = ChangedCount;
    state.counters["new"] = NewCount;
}

// One contact's note changed, saved, and the tree read again as the window does after a save: the
// contacts the save wrote read back (readBack), or the whole store loaded again.
void saveOneChanged(benchmark::State &state, bool readBack)
{
    BenchAddressBook addressBook(BenchAddressBook::Files::Copy);
    if (!addressBook.load() || !addressBook.error().isEmpty()) {
        state.SkipWithError("no store to save into");
        return;
    }
    ContactStore store(addressBook.storePath());
    AddressBookLoader &loader = addressBook.loader();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const ContainerTable tree = loader.containerTable();
        const ContactTablePtr rows = loader.contactTable();
        QNPerson &person = *rows->at(rows->size() / 2)->person;
        person.setValue(QStringLiteral("Edited in round %1.").arg(++round), QStringLiteral("Note"));
        state.ResumeTiming();
        AddressBookSaver saver(store, addressBook.cloud());
        const StoreStatus status = saver.saveAddressBook(tree);
        if (!status.ok())
            state.SkipWithError(status.error.toStdString().c_str());
        if (readBack)
            loader.reloadAfterSave(tree, saver.writtenContacts());
        else
            loader.loadAddressBook();
        if (!loader.contactTable() || loader.contactTable()->size() != rows->size())
            state.SkipWithError("the reload lost contacts");
    }
}

void saveOneChangedWithReload(benchmark::State &state)
{
    saveOneChanged(state, true);
}

void saveOneChangedWithWholeReload(benchmark::State &state)
{
    saveOneChanged(state, false);
}

// The program at its first launch (an empty store in a data folder of its own, the window shown)
// after the user imported every card of contacts.vcf: 20,000 new contacts, the window marked edited.
class ImportedWindow
{
public:
    ImportedWindow()
    {
        ContactStore::releaseThreadConnections();
        QDir data(qEnvironmentVariable("XDG_DATA_HOME"));
        data.removeRecursively();
        data.mkpath(QStringLiteral("."));
        m_cloud = std::make_unique<CloudKeyValueStore>(data.filePath(QStringLiteral("cloud.json")));
        QNPerson::setCloudKeyValueStore(m_cloud.get());
        // Nobody answers an alert here.
        TestMode::setEnabled(true);
        m_window = std::make_unique<WindowController>();
        m_delegate = std::make_unique<AppDelegate>();
        m_delegate->applicationDidFinishLaunching();
        m_window->show();
        m_window->activateWindow();
        if (!spinUntil([this] { return view()->contactTable() && m_delegate->isObservingStore(); }) ||
            !QTest::qWaitForWindowActive(m_window.get()))
            return;
        const ContactTablePtr rows = BenchImport::topRows(BenchImport::readVCardFile(BenchData::vCardPath()));
        if (!rows || rows->size() != BenchContacts::contactCount())
            return;
        // What the import chooser's Add does with every card chosen.
        view()->undoAddContacts(*rows, view()->selectedGroupDict());
        view()->setDocumentEdited(true);
        view()->contactsViewController()->tableView()->setFocus();
        QCoreApplication::processEvents();
        m_ready = view()->isDocumentEdited();
    }

    ~ImportedWindow()
    {
        m_delegate.reset();
        m_window.reset();
        QNPerson::setCloudKeyValueStore(nullptr);
        TestMode::setEnabled(false);
    }

    bool isReady() const { return m_ready; }
    ViewController *view() const { return m_window->mainViewController(); }

    // Ctrl+S on the grid, until the edited mark is cleared and the event loop has nothing left.
    bool save()
    {
        QTest::keyClick(view()->contactsViewController()->tableView(), Qt::Key_S, Qt::ControlModifier);
        QCoreApplication::processEvents();
        return !view()->isDocumentEdited() && !m_window->isWindowModified();
    }

    qsizetype storeCount() const
    {
        ContactStore store;
        qsizetype count = 0;
        for (const StoreContainer &container : store.containers().value)
            count += store.contactsInContainer(container.identifier, {StoreKey::Identifier}).value.size();
        return count;
    }

private:
    static bool spinUntil(const std::function<bool()> &condition, int milliseconds = 60000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!condition() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return condition();
    }

    std::unique_ptr<CloudKeyValueStore> m_cloud;
    std::unique_ptr<WindowController> m_window;
    std::unique_ptr<AppDelegate> m_delegate;
    bool m_ready = false;
};

void firstSaveOfImport(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<ImportedWindow>();
        if (!window->isReady()) {
            state.SkipWithError("the import did not reach the window");
            return;
        }
        state.ResumeTiming();
        const bool saved = window->save();
        state.PauseTiming();
        if (!saved || window->storeCount() != BenchContacts::contactCount())
            state.SkipWithError("the save did not store every contact");
        window.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(saveChanges)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(saveOneChangedWithReload)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(saveOneChangedWithWholeReload)->Unit(benchmark::kMillisecond)->UseRealTime();
// Each iteration imports anew, untimed; one per repetition.
BENCHMARK(firstSaveOfImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true);
}
