#include "EditorsFixture.h"

#include "editors/AddressViewController.h"
#include "editors/DateViewController.h"
#include "editors/DatesViewController.h"
#include "editors/IMSViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/SNSViewController.h"
#include "editors/ValueEditors.h"
#include "platform/widgets/Popover.h"

#include <gtest/gtest.h>
#include <memory>

TEST_F(EditorsFixture, ValueEditorsMakesEachKindForThePopoverAndHandsItsContextBack)
{
    using Kind = ValueEditorFactory::Kind;
    ValueEditors editors;
    Popover popover;
    const auto make = [&](Kind kind) { return std::unique_ptr<QWidget>(editors.makeEditor(kind, &popover, QFont())); };
    EXPECT_TRUE(qobject_cast<MultiValueViewController *>(make(Kind::List).get()));
    EXPECT_TRUE(qobject_cast<AddressViewController *>(make(Kind::Address).get()));
    EXPECT_TRUE(qobject_cast<IMSViewController *>(make(Kind::InstantMessage).get()));
    EXPECT_TRUE(qobject_cast<SNSViewController *>(make(Kind::SocialProfile).get()));
    EXPECT_TRUE(qobject_cast<DatesViewController *>(make(Kind::Dates).get()));
    const std::unique_ptr<QWidget> birthday = make(Kind::Birthday);
    auto *editor = qobject_cast<DateViewController *>(birthday.get());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->popover(), &popover);

    EXPECT_FALSE(editors.contextInfo(birthday.get()));
    QWidget other;
    EXPECT_FALSE(editors.contextInfo(&other));
}
