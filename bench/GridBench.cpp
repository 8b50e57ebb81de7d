// Rebuilding and re-sorting the contacts grid for 20,000 contacts (about 50,000 rows in the Phone
// view): under a name sort, under a phone sort, and after a change of the label filter.

#include "app/DefaultsKey.h"
#include "grid/ContactsViewController.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int ContactCount = 20000;

const QStringList FirstNames{"Anna", "Bruno", "Chloé",   "David", "Emi",  "Farid", "Greta",
                             "Hiro", "Ines",  "Jonas",   "Kaori", "Lena", "Marek", "Noor",
                             "Olga", "Pavel", "Quentin", "Rosa",  "Sven", "Taro"};
const QStringList LastNames{"Abe",    "Berg", "Costa",  "Dahl",  "Endo", "Fischer", "García",
                            "Hansen", "Ito",  "Jensen", "Kato",  "Lund", "Meyer",   "Novak",
                            "Ortiz",  "Park", "Quinn",  "Rossi", "Sato", "Weber"};
const QStringList PhoneLabels{"work", "home", "mobile", "home fax", "other"};

QVariantMap entry(const QString &label, const QString &value)
{
    return {{PersonKey::Label, label}, {PersonKey::Value, value}};
}

ContactRowPtr makeContact(int i)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantMap{{PersonKey::FirstName, FirstNames.at(i % 20) + QString::number(i % 97)},
                                 {PersonKey::LastName, LastNames.at((i / 20) % 20)},
                                 {PersonKey::ShowAsPerson, true},
                                 {PersonKey::NameOrdering, 0}},
                     PersonIdentifier::Name);
    QVariantList phones;
    // One to four numbers, 2.5 on average.
    for (int n = 0; n <= i % 4; ++n)
        phones.append(entry(
            PhoneLabels.at((i + n) % 5),
            QStringLiteral("+1 555 %1").arg((i * 7919 + n * 104729) % 10000000, 7, 10, QLatin1Char('0'))));
    person->setValue(phones, QStringLiteral("Phone"));
    person->setValue(QVariantList{entry(QStringLiteral("work"),
                                        QStringLiteral("user%1@example%2.com").arg(i).arg(i % 13))},
                     QStringLiteral("Email"));
    if (i % 3 == 0)
        person->setValue(QStringLiteral("Company %1").arg(i % 50), PersonIdentifier::Company);
    auto contact = std::make_shared<ContactRow>();
    contact->person = person;
    contact->uniqueId = person->uniqueId();
    return contact;
}

class Grid
{
public:
    Grid() : m_defaults(m_folder.filePath(QStringLiteral("defaults.json"))), m_grid(m_defaults)
    {
        m_defaults.setObject(QVariantMap{{"Phone", QStringList{"Name", "Phone"}}}, DefaultsKey::ViewTypeDict);
        m_grid.setSelectedViewType(QStringLiteral("Phone"));
        auto table = std::make_shared<ContactTable>();
        for (int i = 0; i < ContactCount; ++i)
            table->append(makeContact(i));
        m_grid.setContactTable(table);
        m_grid.updateTable();
        // A selection to carry over, as the user would have.
        m_grid.selectRowIndexesWithContacts({table->at(10), table->at(5000)});
    }

    ContactsViewController &controller() { return m_grid; }

private:
    QTemporaryDir m_folder;
    UserDefaults m_defaults;
    ContactsViewController m_grid;
};

// Made at first use and gone before the application.
std::unique_ptr<Grid> s_grid;

Grid &grid()
{
    if (!s_grid)
        s_grid = std::make_unique<Grid>();
    return *s_grid;
}

void updateTableSortedBy(benchmark::State &state, const QString &key)
{
    ContactsViewController &controller = grid().controller();
    controller.setSelectedLabels({QStringLiteral("All")});
    controller.setSortDescriptors({{key, true}});
    for (auto _ : state)
        controller.updateTable();
    state.counters["rows"] = double(controller.subContactTable().size());
}

void updateTableByName(benchmark::State &state)
{
    updateTableSortedBy(state, QStringLiteral("compositeName"));
}

void updateTableByPhone(benchmark::State &state)
{
    updateTableSortedBy(state, QStringLiteral("Phone"));
}

// A third of the contacts have a company, which takes a second line under their name: about
// 7,000 rows of double height.
void updateTableWithCompanyLines(benchmark::State &state)
{
    ContactsViewController &controller = grid().controller();
    controller.setSortDescriptors({{QStringLiteral("compositeName"), true}});
    controller.toggleShowCompany();
    for (auto _ : state)
        controller.updateTable();
    controller.toggleShowCompany();
}

void labelFilterChange(benchmark::State &state)
{
    ContactsViewController &controller = grid().controller();
    controller.setSortDescriptors({{QStringLiteral("compositeName"), true}});
    bool filtered = false;
    for (auto _ : state) {
        filtered = !filtered;
        controller.setSelectedLabels(filtered ? QStringList{QStringLiteral("home")}
                                              : QStringList{QStringLiteral("All")});
        controller.updateTable();
    }
    controller.setSelectedLabels({QStringLiteral("All")});
}

} // namespace

BENCHMARK(updateTableByName)->Unit(benchmark::kMillisecond);
BENCHMARK(updateTableByPhone)->Unit(benchmark::kMillisecond);
BENCHMARK(updateTableWithCompanyLines)->Unit(benchmark::kMillisecond);
BENCHMARK(labelFilterChange)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    s_grid.reset();
    return 0;
}
