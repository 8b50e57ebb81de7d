#include "DetailFixture.h"

#include "addressbook/DefaultsKey.h"
#include "app/SplitPanes.h"
#include "app/ViewController.h"
#include "detail/DetailDragPayload.h"
#include "detail/DetailRowDragAndDrop.h"
#include "model/QNvCard.h"
#include "platform/widgets/PasteboardTypes.h"

#include <QMimeData>

namespace {

QNPersonPtr personWith(const QString &family, const QStringList &phones, const QStringList &emails = {})
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantMap{{PersonKey::LastName, family}, {PersonKey::ShowAsPerson, true}},
                     PersonIdentifier::Name);
    auto list = [](const QStringList &values) {
        QVariantList entries;
        for (const QString &value : values)
            entries.append(QVariantMap{{PersonKey::Label, "home"}, {PersonKey::Value, value}});
        return entries;
    };
    if (!phones.isEmpty())
        person->setValue(list(phones), "Phone");
    if (!emails.isEmpty())
        person->setValue(list(emails), "Email");
    return person;
}

ContactRowPtr rowOf(const QNPersonPtr &person)
{
    auto row = std::make_shared<SubContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    return row;
}

QStringList values(QNPerson &person, const QString &identifier)
{
    QStringList texts;
    for (const QVariant &entry : person.labeledValueForIdentifier(identifier))
        texts.append(entry.toMap().value(PersonKey::Value).toString());
    return texts;
}

// What a grid row of the contact carries: its card and its value position, no field.
std::unique_ptr<QMimeData> gridDrag(const QNPersonPtr &person, int position)
{
    auto data = std::make_unique<QMimeData>();
    const ContactRow row = *rowOf(person);
    PasteboardTypes::setString(data.get(), PasteboardTypes::VCard,
                               QNvCard().vCardFromContact(row, {QNvCardOption::Note}) + "\r\n");
    PasteboardTypes::setString(data.get(), PasteboardTypes::ValuePosition, QString::number(position));
    return data;
}

class DetailRowDragTest : public DetailTest
{
protected:
    void SetUp() override
    {
        DetailTest::SetUp();
        m_view = std::make_unique<ViewController>(defaults(), SplitPanes::makeDefault(defaults()));
        m_pane = makePane();
        m_pane->setEditDelegate(m_view.get());
    }

    void show(const QNPersonPtr &person)
    {
        m_shown = rowOf(person);
        m_pane->setContact(m_shown);
    }

    DetailTableController *table() const { return m_pane->detailTable(); }
    DetailRowDragAndDrop *drops() const { return table()->findChild<DetailRowDragAndDrop *>(); }
    QObject *thisTable() const { return table()->tableView(); }
    int row(const QString &type, int nth = 0) const { return firstRowOf(table()->table(), type) + nth; }

    std::unique_ptr<ViewController> m_view;
    std::unique_ptr<ContactInfoController> m_pane;
    ContactRowPtr m_shown;
    QObject m_otherView;
};

TEST_F(DetailRowDragTest, AFieldDraggedAboveAnotherMovesThereAndTheOrderIsSaved)
{
    show(personWith("Lee", {"1", "2"}, {"a@x"}));
    ASSERT_TRUE(drops());
    QMimeData data;
    table()->setDraggingSourceIndex(row("Email"));
    EXPECT_EQ(drops()->validateDrop(&data, thisTable(), {0, false}), Qt::MoveAction);
    EXPECT_EQ(drops()->validateDrop(&data, thisTable(), {0, true}), Qt::IgnoreAction) << "onto a row";
    ASSERT_TRUE(drops()->acceptDrop(&data, thisTable(), {0, false}));
    const QStringList saved = defaults().objectForKey(DefaultsKey::LastRowOrder).toStringList();
    EXPECT_EQ(saved.mid(0, 3), QStringList({"Email", "Name", "Photo"}));
    EXPECT_EQ(table()->table().first()->type, "Email");

    // Past the last row: just before the last field.
    table()->setDraggingSourceIndex(row("Phone"));
    ASSERT_TRUE(drops()->acceptDrop(&data, thisTable(), {int(table()->table().size()), false}));
    const QStringList order = *table()->rowOrderTable();
    EXPECT_EQ(order.indexOf("Phone"), order.size() - 2);
}

TEST_F(DetailRowDragTest, FieldsMoveOnlyBetweenFields)
{
    const QNPersonPtr lee = personWith("Lee", {"1", "2", "3"}, {"a@x"});
    // The first phone is gone: the first row of the field now has label index 1.
    lee->deleteLabeledValueForIdentifier("Phone", 0);
    show(lee);
    ASSERT_EQ(table()->table().at(row("Phone"))->labelIndex, 1);
    QMimeData data;
    table()->setDraggingSourceIndex(row("Email"));
    EXPECT_EQ(drops()->validateDrop(&data, thisTable(), {row("Phone"), false}), Qt::MoveAction);
    EXPECT_EQ(drops()->validateDrop(&data, thisTable(), {row("Phone", 1), false}), Qt::IgnoreAction);
    EXPECT_FALSE(drops()->acceptDrop(&data, thisTable(), {row("Phone", 1), false}));
}

TEST_F(DetailRowDragTest, AGridRowReplacesOrInsertsAtTheTargetPhone)
{
    const QNPersonPtr source = personWith("Src", {"X", "Y", "Z"});
    show(personWith("Lee", {"A", "B"}));
    const auto data = gridDrag(source, 1);
    const DetailRowDrop::Target onSecond{row("Phone", 1), true};
    const DetailRowDrop::Target aboveSecond{row("Phone", 1), false};
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, onSecond), Qt::MoveAction);
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, aboveSecond), Qt::CopyAction);
    EXPECT_EQ(drops()->validateDrop(data.get(), nullptr, onSecond), Qt::IgnoreAction) << "another program";

    ASSERT_TRUE(drops()->acceptDrop(data.get(), &m_otherView, onSecond));
    EXPECT_EQ(values(*m_shown->person, "Phone"), QStringList({"A", "Y"}));
    EXPECT_EQ(m_delegate.updatedContacts.size(), 1) << "the window is marked edited";
    QList<qlonglong> numbers;
    for (const QVariant &entry : m_shown->person->labeledValueForIdentifier("Phone"))
        numbers.append(entry.toMap().value(PersonKey::LabelIndex).toLongLong());
    EXPECT_EQ(numbers, QList<qlonglong>({0, 2})) << "a copied value is numbered afresh";

    m_view->undoManager()->closeAutomaticGroup();
    ASSERT_TRUE(drops()->acceptDrop(data.get(), &m_otherView, aboveSecond));
    EXPECT_EQ(values(*m_shown->person, "Phone"), QStringList({"A", "Y", "Y"}));
    m_view->undoManager()->closeAutomaticGroup();
    m_view->undo();
    EXPECT_EQ(values(*m_shown->person, "Phone"), QStringList({"A", "Y"})) << "one step per drop";
    m_view->undo();
    EXPECT_EQ(values(*m_shown->person, "Phone"), QStringList({"A", "B"}));
}

TEST_F(DetailRowDragTest, AValueDroppedOnAnEmptyFieldBecomesItsOnlyValue)
{
    show(personWith("Lee", {}));
    const auto data = gridDrag(personWith("Src", {"X", "Y"}), 0);
    const DetailRowDrop::Target onPhone{row("Phone"), true};
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, onPhone), Qt::CopyAction);
    ASSERT_TRUE(drops()->acceptDrop(data.get(), &m_otherView, onPhone));
    EXPECT_EQ(values(*m_shown->person, "Phone"), QStringList({"X"}));

    const auto beyond = gridDrag(personWith("Src", {"X"}), 4);
    EXPECT_EQ(drops()->validateDrop(beyond.get(), &m_otherView, onPhone), Qt::IgnoreAction)
        << "no such value";
}

TEST_F(DetailRowDragTest, ADetailRowCarriesTheRightValueAfterADelete)
{
    const QNPersonPtr source = personWith("Src", {"P0", "P1", "P2"});
    source->deleteLabeledValueForIdentifier("Phone", 0);
    DetailRow dragged;
    dragged.type = "Phone";
    dragged.labelIndex = 2;
    dragged.index = 1;
    const auto data = DetailDragPayload::mimeData(*rowOf(source), dragged, PersonValueType::Labeled);
    EXPECT_EQ(data->text(), "P2");
    EXPECT_EQ(PasteboardTypes::string(data.get(), PasteboardTypes::Identifier), "Phone");
    EXPECT_EQ(PasteboardTypes::string(data.get(), PasteboardTypes::LabelIndex), "2");

    show(personWith("Lee", {"A"}, {"a@x"}));
    ASSERT_TRUE(drops()->acceptDrop(data.get(), &m_otherView, {row("Phone"), false}));
    EXPECT_EQ(values(*m_shown->person, "Phone"), QStringList({"P2", "A"}));
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, {row("Email"), true}), Qt::IgnoreAction)
        << "a phone never lands on an e-mail";
}

TEST_F(DetailRowDragTest, NothingIsDroppedFromOutsideWhileLocked)
{
    show(personWith("Lee", {"A"}));
    const auto data = gridDrag(personWith("Src", {"X"}), 0);
    table()->setEditState(false);
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, {row("Phone"), true}), Qt::IgnoreAction);
    table()->setEditState(true);
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, {row("Name", 2), true}), Qt::MoveAction)
        << "the family name";
    EXPECT_EQ(drops()->validateDrop(data.get(), &m_otherView, {row("Name", 2), false}), Qt::IgnoreAction);
    ASSERT_TRUE(drops()->acceptDrop(data.get(), &m_otherView, {row("Name", 2), true}));
    EXPECT_EQ(m_shown->person->nameValue().value(PersonKey::LastName), "Src");
}

} // namespace
