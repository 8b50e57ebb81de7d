#include "DetailFixture.h"

#include "common/ModelTesterLog.h"

#include "addressbook/DefaultsKey.h"
#include "ui/widgets/FontService.h"
#include "detail/DetailFont.h"
#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/DetailTypeCell.h"
#include "ui/widgets/DetailFindMarks.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QWheelEvent>

namespace {

StoreContact bennet()
{
    StoreContact contact = DetailTest::person(QStringLiteral("Elizabeth"), QStringLiteral("Bennet"));
    contact.nickname = QStringLiteral("Annan");
    contact.emailAddresses = {{QString(), StoreLabel::Home, QStringLiteral("lizzy@example.org")},
                              {QString(), StoreLabel::Work, QStringLiteral("work@example.org")},
                              {QString(), StoreLabel::Other, QStringLiteral("other@example.org")}};
    return contact;
}

ItemAndRange hitIn(const ContactRowPtr &row, const QString &identifier, int labelIndex)
{
    ItemAndRange hit;
    hit.contact = row;
    hit.uniqueId = row->person->uniqueId();
    hit.identifier = identifier;
    hit.labelIndex = labelIndex;
    return hit;
}

} // namespace

class DetailTableTest : public DetailTest
{
protected:
    void SetUp() override
    {
        DetailTest::SetUp();
        m_pane = makePane();
        m_row = rowFor(bennet());
        m_pane->setContact(m_row);
    }

    DetailTableController &table() { return *m_pane->detailTable(); }
    int rowOf(const QString &type) { return firstRowOf(table().table(), type); }
    template <typename Cell> Cell *cell(int row, int column = 1)
    {
        return qobject_cast<Cell *>(table().cellView(row, column));
    }

    std::unique_ptr<ContactInfoController> m_pane;
    SubContactRowPtr m_row;
};

// --- fonts ----------------------------------------------------------------------------------

struct FontCase
{
    const char *name;
    double savedSize;
    double expectedSize;
    bool systemFont;
};

class DetailFontTest : public DetailTest, public ::testing::WithParamInterface<FontCase>
{
};

TEST_P(DetailFontTest, SavedFontIsReadAtLoad)
{
    const FontCase &c = GetParam();
    if (c.name) {
        const QString name = QString::fromLatin1(c.name);
        defaults().setObject(name == QLatin1String("system") ? FontService::systemFontName() : name,
                             DefaultsKey::DefaultFontName);
    }
    defaults().setDouble(c.savedSize, DefaultsKey::DefaultFontSizeKey);
    auto pane = makePane();
    const QFont font = pane->detailTable()->selectedFont();
    EXPECT_DOUBLE_EQ(font.pointSizeF(), c.expectedSize);
    EXPECT_EQ(FontService::isSystemFont(font), c.systemFont);
    EXPECT_GE(pane->detailTable()->rowHeight(), DetailFont::MinimumRowHeight);
}

INSTANTIATE_TEST_SUITE_P(Fonts, DetailFontTest,
                         ::testing::Values(FontCase{"DejaVu Sans", 5.0, 7.0, false},
                                           FontCase{"DejaVu Sans", 15.0, 15.0, false},
                                           FontCase{"system", 30.0, 30.0, true},
                                           FontCase{nullptr, 30.0, 12.0, true},
                                           FontCase{"No Such Family", 20.0, 12.0, true}));

TEST_F(DetailTableTest, RowHeightFollowsTheFontNeverBelowTwenty)
{
    QFont small = FontService::systemFont(4.0);
    table().setSelectedFont(small);
    EXPECT_EQ(table().rowHeight(), 20.0);

    QFont big = FontService::systemFont(24.0);
    table().setSelectedFont(big);
    const QFontMetricsF metrics(big);
    EXPECT_EQ(table().rowHeight(),
              std::max(std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()) + 9.0, 35.0));
    const int photo = rowOf(QStringLiteral("Photo"));
    EXPECT_EQ(table().tableView()->rowHeight(photo), int(3 * table().rowHeight() + 2.0));
}

// --- cells ----------------------------------------------------------------------------------

TEST_F(DetailTableTest, FieldNameAndIconOnTheFirstRowOfAFieldOnly)
{
    const int email = rowOf(QStringLiteral("Email"));
    auto *first = cell<DetailTypeCell>(email, 0);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->text().isEmpty());
    EXPECT_FALSE(first->icon().isNull());
    for (int row : {email + 1, email + 2}) {
        EXPECT_TRUE(cell<DetailTypeCell>(row, 0)->text().isEmpty());
        EXPECT_TRUE(cell<DetailTypeCell>(row, 0)->icon().isNull());
    }
}

TEST_F(DetailTableTest, ValueCellsByKind)
{
    auto *middle = cell<DetailTextCell>(rowOf(QStringLiteral("Name")) + 1);
    ASSERT_TRUE(middle);
    EXPECT_TRUE(middle->text().isEmpty());
    EXPECT_EQ(middle->placeholderText(), L(QStringLiteral("MiddleName")));
    EXPECT_TRUE(middle->isEditable());

    auto *ordering = cell<QComboBox>(rowOf(QStringLiteral("Name Ordering")));
    ASSERT_TRUE(ordering);
    EXPECT_FALSE(ordering->isEnabled());
    EXPECT_EQ(ordering->toolTip(),
              QStringLiteral("Sorry, change will not be saved due to the lack of system service."));
    EXPECT_TRUE(cell<QComboBox>(rowOf(QStringLiteral("Name Display")))->isEnabled());

    auto *email = cell<DetailPopupAndTextCell>(rowOf(QStringLiteral("Email")) + 1);
    ASSERT_TRUE(email);
    EXPECT_EQ(email->textCell()->text(), QStringLiteral("work@example.org"));
    EXPECT_EQ(email->labelPopup()->currentText(), QNPerson::localizedLabelFromCNLabel(StoreLabel::Work));
    EXPECT_GT(email->labelPopup()->count(), 1);

    // Locked, a popup offers only the entry's own label.
    table().setEditState(false);
    table().updateTable();
    email = cell<DetailPopupAndTextCell>(rowOf(QStringLiteral("Email")) + 1);
    EXPECT_EQ(email->labelPopup()->count(), 1);
    EXPECT_FALSE(cell<DetailTextCell>(rowOf(QStringLiteral("Nickname")))->isEditable());
}

// An unlabelled value names its label as the grid and the card do, in both states, and editing
// selects no item for it, so that nothing is chosen until the user picks a label.
TEST_F(DetailTableTest, AnUnlabelledValueShowsNoLabelInItsPopup)
{
    StoreContact contact = bennet();
    contact.emailAddresses.prepend({QString(), QString(), QStringLiteral("plain@example.org")});
    m_pane->setContact(rowFor(contact));
    const int row = rowOf(QStringLiteral("Email"));
    auto *plain = cell<DetailPopupAndTextCell>(row);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->shownLabel(), L(QStringLiteral("No label")));
    EXPECT_EQ(plain->labelPopup()->currentIndex(), -1);
    EXPECT_GT(plain->labelPopup()->count(), 1);
    // The next value's own label is selected, with no leftover placeholder.
    auto *home = cell<DetailPopupAndTextCell>(row + 1);
    EXPECT_EQ(home->shownLabel(), QNPerson::localizedLabelFromCNLabel(StoreLabel::Home));
    EXPECT_TRUE(home->labelPopup()->placeholderText().isEmpty());

    table().setEditState(false);
    table().updateTable();
    EXPECT_EQ(cell<DetailPopupAndTextCell>(row)->shownLabel(), L(QStringLiteral("No label")));
}

TEST_F(DetailTableTest, WheelOverALabelPopupLeavesTheLabel)
{
    auto *email = cell<DetailPopupAndTextCell>(rowOf(QStringLiteral("Email")));
    const int before = email->labelPopup()->currentIndex();
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(email->labelPopup(), &wheel);
    EXPECT_EQ(email->labelPopup()->currentIndex(), before);
}

TEST_F(DetailTableTest, OnlyValueCellsOfTextKindsAreEditedInPlace)
{
    EXPECT_FALSE(table().shouldEditTableColumn(0, rowOf(QStringLiteral("Nickname"))));
    EXPECT_TRUE(table().shouldEditTableColumn(1, rowOf(QStringLiteral("Nickname"))));
    for (const QString &type :
         {QStringLiteral("Birthday"), QStringLiteral("Address"), QStringLiteral("Name Display")})
        EXPECT_FALSE(table().shouldEditTableColumn(1, rowOf(type))) << type.toStdString();
}

// --- find -----------------------------------------------------------------------------------

struct MarkCase
{
    const char *text;
    const char *findString;
    Qt::CaseSensitivity options;
    qsizetype hitLocation;
    QList<DetailFindMarks::Mark> expected;
};

class FindMarksTest : public ::testing::TestWithParam<MarkCase>
{
};

TEST_P(FindMarksTest, MarksEveryOccurrenceAndTheCurrentHitWithinTheText)
{
    const MarkCase &c = GetParam();
    ItemAndRange hit;
    hit.location = c.hitLocation;
    hit.length = 2;
    EXPECT_EQ(DetailFindMarks::marks(QString::fromUtf8(c.text), QString::fromUtf8(c.findString),
                                   c.options, hit),
              c.expected);
}

const QColor Gray = DetailFindMarks::occurrenceColor();
const QColor Orange = DetailFindMarks::currentHitColor();

INSTANTIATE_TEST_SUITE_P(
    Marks, FindMarksTest,
    ::testing::Values(
        MarkCase{"Annan", "an", Qt::CaseInsensitive, 3, {{0, 2, Gray}, {3, 2, Gray}, {3, 2, Orange}}},
        MarkCase{"Annan", "an", Qt::CaseSensitive, ItemAndRange::NotFound, {{3, 2, Gray}}},
        MarkCase{"Annan", "an", Qt::CaseInsensitive, 4, {{0, 2, Gray}, {3, 2, Gray}}},
        MarkCase{"", "an", Qt::CaseInsensitive, 0, {}}, MarkCase{"Annan", "", Qt::CaseInsensitive, 0, {}}));

TEST_F(DetailTableTest, FindStringMarksTheShownValues)
{
    table().setFindString(QStringLiteral("an"));
    table().setFindOptions(Qt::CaseInsensitive);
    ItemAndRange hit = hitIn(m_row, QStringLiteral("Nickname"), 0);
    hit.location = 3;
    hit.length = 2;
    table().selectItemAndRange(hit);

    const int nickname = rowOf(QStringLiteral("Nickname"));
    EXPECT_EQ(table().selectedRows(), QList<int>{nickname});
    EXPECT_EQ(cell<DetailTextCell>(nickname)->marks().size(), 3);
    EXPECT_EQ(cell<DetailTextCell>(nickname)->marks().last().color, Orange);

    table().selectItemAndRange(std::nullopt);
    EXPECT_EQ(cell<DetailTextCell>(nickname)->marks().size(), 2);
}

TEST_F(DetailTableTest, HitInAnotherContactShowsThatContactAndItsRow)
{
    const SubContactRowPtr other = rowFor(bennet());
    table().selectItemAndRange(hitIn(other, QStringLiteral("Email"), 2));
    EXPECT_EQ(table().contact(), other);
    EXPECT_EQ(table().selectedRows(), QList<int>{rowOf(QStringLiteral("Email")) + 2});
}

TEST_F(DetailTableTest, HitWithoutRowNeverSelectsOutOfRange)
{
    table().selectItemAndRange(hitIn(m_row, QStringLiteral("Email"), 99));
    EXPECT_EQ(table().selectedRows(), QList<int>{0});

    ItemAndRange elsewhere = hitIn(m_row, QStringLiteral("Email"), 1);
    elsewhere.uniqueId = QStringLiteral("someone else");
    elsewhere.contact = nullptr;
    table().selectItemAndRange(elsewhere);
    EXPECT_EQ(table().selectedRows(), QList<int>{0});

    ItemAndRange phonetic = hitIn(m_row, QStringLiteral("Phonetic Name"), 0);
    phonetic.subIdentifier = QStringLiteral("PhoneticLastName");
    table().selectItemAndRange(phonetic);
    EXPECT_EQ(table().selectedRows(), QList<int>{rowOf(QStringLiteral("Phonetic Name")) + 2});
}

// --- reloads and selection ------------------------------------------------------------------

TEST_F(DetailTableTest, UpdateKeepsTheSelectionOrFallsBackToTheFirstRow)
{
    const int last = int(table().table().size()) - 1;
    table().selectRow(last);
    EXPECT_EQ(m_delegate.selectedRows.last().type, QStringLiteral("Note"));
    table().updateTable();
    EXPECT_EQ(table().selectedRows(), QList<int>{last});

    m_row->person->setValue(QVariantList(), QStringLiteral("Email"));
    table().updateTable();
    EXPECT_EQ(table().selectedRows(), QList<int>{0});
    EXPECT_EQ(m_delegate.selectedRows.last().type, QStringLiteral("Name"));
}

// The pane keeps the selected row for the next contact (the find cursor follows it); a preview,
// which has no edit delegate, is covered by the import chooser's tests.
TEST_F(DetailTableTest, ThePaneKeepsTheSelectedRowForAnotherContact)
{
    const int nickname = rowOf(QStringLiteral("Nickname"));
    table().selectRow(nickname);
    m_pane->setContact(rowFor(bennet()));
    EXPECT_EQ(table().selectedRows(), QList<int>{nickname});
}

TEST_F(DetailTableTest, NullContactIsIgnoredAndGroupNamesAreShown)
{
    m_delegate.groupNames = QStringList{QStringLiteral("Friends"), QStringLiteral("Family")};
    m_pane->setContact(nullptr);
    EXPECT_EQ(m_pane->contact(), m_row);
    m_pane->updateTable();
    EXPECT_EQ(cell<DetailTextCell>(rowOf(QStringLiteral("Groups")))->text(),
              QStringLiteral("Friends, Family"));
    EXPECT_FALSE(cell<DetailTextCell>(rowOf(QStringLiteral("Groups")))->isEditable());
}

// A drop on a group in the sidebar, or a group deleted, while the pane shows the contact.
TEST_F(DetailTableTest, TheGroupsRowAloneIsRedrawnWhenTheGroupsChange)
{
    m_delegate.groupNames = QStringList{QStringLiteral("Friends"), QStringLiteral("Old")};
    m_pane->updateTable();
    const int nickname = rowOf(QStringLiteral("Nickname"));
    const DetailTextCell *kept = cell<DetailTextCell>(nickname);

    m_delegate.groupNames = QStringList{QStringLiteral("Friends"), QStringLiteral("Club")};
    m_pane->groupsDidChange();
    EXPECT_EQ(cell<DetailTextCell>(rowOf(QStringLiteral("Groups")))->text(), QStringLiteral("Friends, Club"));
    EXPECT_EQ(cell<DetailTextCell>(nickname), kept);
}

// The import chooser's preview has no one to ask.
TEST_F(DetailTableTest, APreviewShowsTheGroupsItsRowCarries)
{
    ContactInfoController preview(defaults());
    m_row->groupNames = QStringList{QStringLiteral("Club")};
    preview.setContact(m_row);
    const int groups = firstRowOf(preview.detailTable()->table(), QStringLiteral("Groups"));
    const auto *shown = qobject_cast<DetailTextCell *>(preview.detailTable()->cellView(groups, 1));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), QStringLiteral("Club"));
}

// The custom-item sheet hands the pane its new definitions; the next update shows them.
TEST_F(DetailTableTest, ACustomItemAddedOrDeletedShowsAtTheNextUpdate)
{
    const QVariantList pets{QVariantMap{{PersonKey::ItemName, QStringLiteral("Pets")},
                                        {PersonKey::ItemType, QStringLiteral("String Value")}}};
    m_pane->setCustomItems(pets);
    m_pane->updateTable();
    const int added = rowOf(QStringLiteral("Pets"));
    EXPECT_GE(added, 0);

    m_pane->setCustomItems({});
    m_pane->updateTable();
    EXPECT_EQ(rowOf(QStringLiteral("Pets")), -1);

    // Brought back (a revert), it takes its old place.
    m_pane->setCustomItems(pets);
    m_pane->updateTable();
    EXPECT_EQ(rowOf(QStringLiteral("Pets")), added);
}

TEST_F(DetailTableTest, WithoutContactNothingIsShown)
{
    auto pane = makePane();
    pane->updateTable();
    pane->selectItemAndRange(hitIn(m_row, QStringLiteral("Email"), 0));
    EXPECT_EQ(pane->tableView()->model()->rowCount(), 0);
    EXPECT_FALSE(pane->contact());
}

TEST_F(DetailTableTest, TheModelPassesTheTester)
{
    const ModelTesterLog log;
    QAbstractItemModelTester tester(table().tableView()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    table().selectRow(int(table().table().size()) - 1);
    m_row->person->setValue(QVariantList(), QStringLiteral("Email"));
    table().updateTable();
    m_pane->setContact(rowFor(person(QStringLiteral("Jane"), QStringLiteral("Bennet"))));
    table().selectItemAndRange(hitIn(rowFor(bennet()), QStringLiteral("Email"), 1));
    EXPECT_GT(table().tableView()->model()->rowCount(), 0);
    EXPECT_EQ(log.failures(), QStringList());
}
