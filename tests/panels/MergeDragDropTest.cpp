#include "MergeFixture.h"
#include "MergeGestures.h"

#include "panels/MergeDragAndDrop.h"
#include "panels/MergeTableView.h"
#include "ui/widgets/ImageViewDragAndDrop.h"

#include <QMimeData>
#include <QPushButton>
#include <QTableView>

#include <memory>

namespace {

using MergeDragAndDrop::DropPosition;
using MergeDragAndDrop::Operation;

class MergeDragDropTest : public MergeFixture
{
protected:
    QTableView *leftView() const { return sheet->tableLeft()->tableView(); }
    QTableView *rightView() const { return sheet->tableRight()->tableView(); }

    // Starts a drag of the left row; answers what it carries, which the checks below bring over.
    const QMimeData *dragLeft(int row)
    {
        dragged.reset(sheet->dragData(leftView(), row));
        return dragged.get();
    }

    Operation validateRight(int row, DropPosition position = DropPosition::On, bool copy = false) const
    {
        return sheet->validateDrop(rightView(), dragged.get(), row, position, copy);
    }

    bool dropRight(int row, DropPosition position = DropPosition::On, bool copy = false) const
    {
        return sheet->acceptDrop(rightView(), dragged.get(), row, position, copy);
    }

    // Drags the left row onto the right one, as one event.
    bool moveLeftToRight(int leftRow, int rightRow, bool copy = false, DropPosition position = DropPosition::On)
    {
        dragLeft(leftRow);
        const bool accepted = dropRight(rightRow, position, copy);
        nextEvent();
        return accepted;
    }

    static QStringList values(const ContactRowPtr &row, const QString &identifier)
    {
        QStringList list;
        for (const QVariant &entry : row->person->labeledValueForIdentifier(identifier))
            list.append(entry.toMap().value("value").toString());
        return list;
    }

    static void setPhones(const ContactRowPtr &row, const QStringList &numbers)
    {
        QVariantList list;
        for (const QString &number : numbers)
            list.append(QVariantMap{{"label", "home"}, {"value", number}});
        row->person->setValue(list, "Phone");
    }

    // Opens Ann and Bob with those phones; answers the first phone row.
    int openWithPhones(const QStringList &annPhones, const QStringList &bobPhones)
    {
        const ContactRowPtr ann = contact("Ann");
        setPhones(ann, annPhones);
        const ContactRowPtr bob = contact("Bob");
        setPhones(bob, bobPhones);
        open({ann, bob});
        return firstRowOf(sheet->tableLeft(), "Phone");
    }

    std::unique_ptr<QMimeData> dragged;
};

TEST_F(MergeDragDropTest, MovingAPhoneOntoTheFillerAppendsItAndOneUndoRestoresBoth)
{
    const int phone = openWithPhones({"111", "222"}, {"999"});

    dragLeft(phone + 1);
    EXPECT_EQ(validateRight(phone + 1), Operation::Move);
    EXPECT_TRUE(moveLeftToRight(phone + 1, phone + 1));
    EXPECT_EQ(values(left(), "Phone"), QStringList{"111"});
    EXPECT_EQ(values(right(), "Phone"), QStringList({"999", "222"}));
    // The appended copy takes a number of its own.
    EXPECT_EQ(right()->person->labeledValueForIdentifier("Phone").at(1).toMap().value("labelIndex").toInt(), 1);
    EXPECT_TRUE(sheet->doneButton()->isEnabled());

    sheet->undoManager().undo();
    EXPECT_EQ(values(left(), "Phone"), QStringList({"111", "222"}));
    EXPECT_EQ(values(right(), "Phone"), QStringList{"999"});
    EXPECT_FALSE(sheet->doneButton()->isEnabled());
}

TEST_F(MergeDragDropTest, CopyKeepsTheSourceAndAValueRowIsReplaced)
{
    const ContactRowPtr ann = contact("Ann");
    setPhones(ann, {"111", "222"});
    const ContactRowPtr bob = contact("Bob");
    setPhones(bob, {"777", "888"});
    open({ann, bob});
    const int phone = firstRowOf(sheet->tableLeft(), "Phone");

    dragLeft(phone);
    EXPECT_EQ(validateRight(phone + 1, DropPosition::On, true), Operation::Copy);
    EXPECT_TRUE(moveLeftToRight(phone, phone + 1, true));
    EXPECT_EQ(values(left(), "Phone"), QStringList({"111", "222"}));
    EXPECT_EQ(values(right(), "Phone"), QStringList({"777", "111"}));

    // Above a row appends, whatever the row.
    EXPECT_TRUE(moveLeftToRight(phone + 1, phone, true, DropPosition::Above));
    EXPECT_EQ(values(right(), "Phone"), QStringList({"777", "111", "222"}));
}

// The dragged entry is found by its label index, not by its place in the list.
TEST_F(MergeDragDropTest, AfterAMoveTheRemainingFirstPhoneIsTheOneDragged)
{
    const ContactRowPtr ann = contact("Ann");
    setPhones(ann, {"111", "222", "333"});
    open({ann, contact("Bob")});
    const int phone = firstRowOf(sheet->tableLeft(), "Phone");
    ASSERT_TRUE(moveLeftToRight(phone, phone));
    ASSERT_EQ(values(left(), "Phone"), QStringList({"222", "333"}));

    // The right side's first filler row follows its one phone.
    EXPECT_TRUE(moveLeftToRight(phone, phone + 1, true));
    EXPECT_EQ(values(right(), "Phone"), QStringList({"111", "222"}));
    EXPECT_EQ(values(left(), "Phone"), QStringList({"222", "333"}));
}

TEST_F(MergeDragDropTest, RefusedDrops)
{
    const ContactRowPtr ann = contact("Ann");
    setPhones(ann, {"111", "222", "333"});
    open({ann, contact("Bob")});
    const int phone = firstRowOf(sheet->tableLeft(), "Phone");
    const int company = firstRowOf(sheet->tableLeft(), "Company");
    dragLeft(phone);

    // The second filler row, another kind, the same table, another application.
    EXPECT_EQ(validateRight(phone + 1), Operation::None);
    EXPECT_EQ(validateRight(company), Operation::None);
    EXPECT_EQ(sheet->validateDrop(leftView(), dragged.get(), phone, DropPosition::On, false), Operation::None);
    QMimeData text;
    text.setText(dragged->text());
    EXPECT_EQ(sheet->validateDrop(rightView(), &text, phone, DropPosition::On, false), Operation::None);
    EXPECT_EQ(validateRight(int(sheet->tableRight()->rows().size())), Operation::None);
    EXPECT_FALSE(sheet->acceptDrop(leftView(), dragged.get(), phone, DropPosition::On, false));

    // Above a single-valued row.
    dragLeft(company);
    EXPECT_EQ(validateRight(company, DropPosition::Above), Operation::None);
    EXPECT_EQ(validateRight(company), Operation::Move);

    // Locked.
    sheet->editButton()->click();
    EXPECT_EQ(validateRight(company), Operation::None);
    EXPECT_FALSE(dropRight(company));
    EXPECT_EQ(right()->person->stringValueForIdentifier("Company"), "Acme");
}

TEST_F(MergeDragDropTest, PhotoAndBirthdayMovesKeepTheValue)
{
    const ContactRowPtr ann = contact("Ann");
    QImage red(40, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ann->person->setPhoto(red);
    ann->person->setBirthdayValue(QVariantMap{{"value", QVariantMap{{"year", 1990}, {"month", 4}, {"day", 2}}}});
    open({ann, contact("Bob")});
    const int photo = firstRowOf(sheet->tableLeft(), "Photo");
    const int birthday = firstRowOf(sheet->tableLeft(), "Birthday");

    EXPECT_TRUE(moveLeftToRight(photo, photo));
    EXPECT_TRUE(left()->person->photo().isNull());
    EXPECT_EQ(right()->person->photo().size(), QSize(40, 20));

    EXPECT_TRUE(moveLeftToRight(birthday, birthday));
    EXPECT_EQ(left()->person->stringValueForIdentifier("Birthday"), "");
    ASSERT_TRUE(right()->person->birthdayValue());
    EXPECT_EQ(right()->person->birthdayValue()->value("value").toMap().value("day").toInt(), 2);
}

TEST_F(MergeDragDropTest, NamePartMoveEmptiesTheSourcePart)
{
    open({contact("Ann"), contact("Bob")});
    const int first = firstRowOf(sheet->tableLeft(), "Name");
    // Any right name row takes the dragged part.
    EXPECT_TRUE(moveLeftToRight(first, first + 2));
    EXPECT_EQ(right()->person->nameValue().value("FirstName"), "Ann");
    EXPECT_EQ(right()->person->nameValue().value("LastName"), "Lee");
    EXPECT_EQ(left()->person->nameValue().value("FirstName"), "");
}

TEST_F(MergeDragDropTest, TheDragCarriesLabelAndText)
{
    const ContactRowPtr ann = contact("Ann");
    setPhones(ann, {"123-4567"});
    open({ann, contact("Bob", "Ray")});
    EXPECT_EQ(dragLeft(firstRowOf(sheet->tableLeft(), "Phone"))->text(), "home: 123-4567");
    // A text field's row has no label.
    EXPECT_EQ(dragLeft(firstRowOf(sheet->tableLeft(), "Company"))->text(), ": Acme");
    // A filler row and an empty value start no drag.
    EXPECT_FALSE(sheet->dragData(rightView(), firstRowOf(sheet->tableRight(), "Phone")));
    EXPECT_FALSE(dragLeft(firstRowOf(sheet->tableLeft(), "Note")));
    EXPECT_FALSE(dragLeft(firstRowOf(sheet->tableLeft(), "Photo")));
}

// --- by hand: the mouse on one table's viewport, the drag's events on the other's -------------

class MergeDragGestureTest : public MergeDragDropTest
{
protected:
    MergeTableView *view(const MergeTable *table) const
    {
        return qobject_cast<MergeTableView *>(table->tableView());
    }
    QWidget *rightViewport() const { return rightView()->viewport(); }
    QPoint rightCell(int row, int column = 1) const
    {
        return MergeGestures::cellCentre(sheet->tableRight(), row, column);
    }
};

TEST_F(MergeDragGestureTest, APhoneDraggedOverMovesItAndWithCtrlCopiesIt)
{
    const int phone = openWithPhones({"111", "222"}, {"999"});

    std::unique_ptr<QMimeData> carried = MergeGestures::pressAndDrag(sheet->tableLeft(), phone + 1);
    ASSERT_TRUE(carried);
    // What another program gets of it.
    EXPECT_EQ(carried->text(), "home: 222");
    // Onto the first filler row, the place where a value is added.
    ASSERT_TRUE(MergeGestures::dragOver(rightViewport(), rightCell(phone + 1), carried.get()));
    EXPECT_EQ(view(sheet->tableRight())->dropIndicatorRect().top(), rightView()->rowViewportPosition(phone + 1));
    EXPECT_TRUE(MergeGestures::dropOn(rightViewport(), rightCell(phone + 1), carried.get()));
    nextEvent();
    EXPECT_EQ(values(left(), "Phone"), QStringList{"111"});
    EXPECT_EQ(values(right(), "Phone"), QStringList({"999", "222"}));
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    EXPECT_TRUE(view(sheet->tableRight())->dropIndicatorRect().isEmpty());

    // The remaining phone, copied over Bob's own.
    carried = MergeGestures::pressAndDrag(sheet->tableLeft(), phone);
    ASSERT_TRUE(carried);
    EXPECT_TRUE(MergeGestures::dropOn(rightViewport(), rightCell(phone), carried.get(), Qt::ControlModifier));
    nextEvent();
    EXPECT_EQ(values(left(), "Phone"), QStringList{"111"});
    EXPECT_EQ(values(right(), "Phone"), QStringList({"111", "222"}));

    sheet->undoManager().undo();
    EXPECT_EQ(values(right(), "Phone"), QStringList({"999", "222"}));
}

TEST_F(MergeDragGestureTest, DropsTheSheetRefusesChangeNothing)
{
    const ContactRowPtr ann = contact("Ann");
    setPhones(ann, {"111"});
    const ContactRowPtr bob = contact("Bob", "Ray");
    bob->person->setValue(QStringLiteral("Globex"), QStringLiteral("Company"));
    open({ann, bob});
    const int company = firstRowOf(sheet->tableLeft(), "Company");
    const int phone = firstRowOf(sheet->tableLeft(), "Phone");
    std::unique_ptr<QMimeData> carried = MergeGestures::pressAndDrag(sheet->tableLeft(), company);
    ASSERT_TRUE(carried);
    EXPECT_EQ(carried->text(), ": Acme");

    // Another kind, the line above a single value, the table it came from.
    ASSERT_TRUE(MergeGestures::dragOver(rightViewport(), rightCell(company), carried.get()));
    EXPECT_FALSE(MergeGestures::dragOver(rightViewport(), rightCell(phone), carried.get()));
    EXPECT_TRUE(view(sheet->tableRight())->dropIndicatorRect().isEmpty());
    EXPECT_FALSE(MergeGestures::dropOn(rightViewport(), rightCell(phone), carried.get()));
    const QPoint aboveCompany(rightCell(company).x(), rightView()->rowViewportPosition(company) + 1);
    EXPECT_FALSE(MergeGestures::dropOn(rightViewport(), aboveCompany, carried.get()));
    EXPECT_FALSE(MergeGestures::dropOn(leftView()->viewport(),
                                       MergeGestures::cellCentre(sheet->tableLeft(), company, 1), carried.get()));
    // The same text from another program.
    QMimeData text;
    text.setText(carried->text());
    EXPECT_FALSE(MergeGestures::dropOn(rightViewport(), rightCell(company), &text));
    // Locked.
    sheet->editButton()->click();
    EXPECT_FALSE(MergeGestures::dropOn(rightViewport(), rightCell(company), carried.get()));
    EXPECT_EQ(right()->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_EQ(left()->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_FALSE(sheet->undoManager().canUndo());

    // A row that carries nothing starts no drag.
    EXPECT_FALSE(MergeGestures::pressAndDrag(sheet->tableLeft(), firstRowOf(sheet->tableLeft(), "Note")));
}

// The photo row's value cell is the photo well, which takes pictures of its own; a row dragged
// onto it is still the table's drop, so a move leaves the other side without the photo.
TEST_F(MergeDragGestureTest, ThePhotoRowDroppedOnTheOtherWellMovesThePhoto)
{
    const ContactRowPtr ann = contact("Ann");
    QImage red(40, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ann->person->setPhoto(red);
    open({ann, contact("Bob")});
    const int photo = firstRowOf(sheet->tableLeft(), "Photo");

    std::unique_ptr<QMimeData> carried = MergeGestures::pressAndDrag(sheet->tableLeft(), photo, 0);
    ASSERT_TRUE(carried);
    EXPECT_TRUE(carried->hasImage());
    QWidget *well = sheet->tableRight()->cellView(photo, 1);
    ASSERT_TRUE(qobject_cast<ImageViewDragAndDrop *>(well));
    EXPECT_TRUE(MergeGestures::dropOn(well, well->rect().center(), carried.get()));
    EXPECT_TRUE(left()->person->photo().isNull());
    EXPECT_EQ(right()->person->photo().size(), QSize(40, 20));
}

// --- a photo carried across arrives as the source held it -----------------------------------

// Where the photo comes from: the left photo row, the left well, another program.
enum class From
{
    Row,
    Well,
    Elsewhere
};

struct PhotoCarry
{
    const char *name;
    From from;
    bool ontoWell;
    Qt::KeyboardModifiers modifiers;
};

class MergePhotoCarryTest : public MergeDragGestureTest, public ::testing::WithParamInterface<PhotoCarry>
{
};

TEST_P(MergePhotoCarryTest, ThePhotoKeepsItsBytesAndAPictureFromElsewhereIsFitted)
{
    const PhotoCarry &c = GetParam();
    const ContactRowPtr ann = contact("Ann");
    const PhotoBytes photo{jpegPhoto(1024), jpegPhoto(64)};
    ann->person->setPhotoBytes(photo);
    open({ann, contact("Bob")});
    const int row = firstRowOf(sheet->tableLeft(), "Photo");
    auto *leftWell = qobject_cast<ImageViewDragAndDrop *>(sheet->tableLeft()->cellView(row, 1));
    std::unique_ptr<QMimeData> carried = std::make_unique<QMimeData>();
    if (c.from == From::Row) {
        carried = MergeGestures::pressAndDrag(sheet->tableLeft(), row, 0);
        ASSERT_TRUE(carried);
        // Other programs still get the picture.
        EXPECT_EQ(qvariant_cast<QImage>(carried->imageData()).size(), QSize(1024, 1024));
    } else if (c.from == From::Well) {
        carried = MergeGestures::pressAndDragOn(leftWell, leftWell->rect().center(), leftWell);
    } else {
        carried->setData("image/jpeg", *photo.imageData);
    }
    ASSERT_TRUE(carried);
    const bool fromSheet = c.from != From::Elsewhere;
    QWidget *target = c.ontoWell ? sheet->tableRight()->cellView(row, 1) : rightViewport();
    const QPoint at = c.ontoWell ? target->rect().center() : rightCell(row);
    ASSERT_TRUE(MergeGestures::dropOn(target, at, carried.get(), c.modifiers));
    nextEvent();
    if (fromSheet) {
        EXPECT_EQ(right()->person->imageData(), photo.imageData);
        EXPECT_EQ(right()->person->thumbnailImageData(), photo.thumbnailImageData);
    } else {
        EXPECT_EQ(right()->person->photo().size(), QSize(512, 512));
        EXPECT_TRUE(right()->person->imageData()->startsWith("\x89PNG"));
    }
    EXPECT_EQ(left()->person->photo().isNull(), c.from == From::Row && !c.modifiers);

    sheet->undoManager().undo();
    EXPECT_EQ(left()->person->imageData(), photo.imageData);
    EXPECT_EQ(left()->person->thumbnailImageData(), photo.thumbnailImageData);
    EXPECT_TRUE(right()->person->photo().isNull());
    sheet->undoManager().redo();
    EXPECT_EQ(right()->person->imageData() == photo.imageData, fromSheet);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, MergePhotoCarryTest,
    ::testing::Values(PhotoCarry{"RowMovedOntoTheRow", From::Row, false, Qt::NoModifier},
                      PhotoCarry{"RowCopiedOntoTheRow", From::Row, false, Qt::ControlModifier},
                      PhotoCarry{"RowMovedOntoTheWell", From::Row, true, Qt::NoModifier},
                      PhotoCarry{"RowCopiedOntoTheWell", From::Row, true, Qt::ControlModifier},
                      // The well's own drag copies.
                      PhotoCarry{"WellOntoTheWell", From::Well, true, Qt::NoModifier},
                      PhotoCarry{"PictureFromElsewhereOntoTheWell", From::Elsewhere, true, Qt::NoModifier}),
    [](const ::testing::TestParamInfo<PhotoCarry> &info) { return std::string(info.param.name); });

} // namespace
