#include "EditorsFixture.h"

#include "editors/DateViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/PopoverEditorOpener.h"
#include "platform/widgets/Popover.h"

#include <QPointer>

namespace {

class PopoverEditorOpenerTest : public EditorsFixture
{
protected:
    ValueEditorRequest request(ValueEditorKind kind, bool editable)
    {
        anchor.show();
        ValueEditorRequest request;
        request.kind = kind;
        request.context = std::make_shared<EditorContext>();
        request.context->contact = std::make_shared<ContactRow>();
        request.context->contact->person = std::make_shared<QNPerson>();
        request.context->type = kind == ValueEditorKind::Date ? "Birthday" : "Phone";
        request.context->editEnabled = true;
        request.editable = editable;
        request.contentSize = QSize(360, 260);
        request.anchor = &anchor;
        request.rect = QRect(0, 0, 20, 10);
        return request;
    }

    QWidget anchor;
    PopoverEditorOpener opener;
};

TEST_F(PopoverEditorOpenerTest, ShowsTheEditorAndReportsItsClosingOnce)
{
    int closings = 0;
    ASSERT_TRUE(opener.showEditor(request(ValueEditorKind::List, false), [&closings] { ++closings; }));
    QPointer<Popover> popover = opener.popover();
    ASSERT_TRUE(popover && popover->isShown());
    EXPECT_EQ(popover->contentSize(), QSize(360, 260));
    auto *editor = qobject_cast<MultiValueViewController *>(opener.editor());
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->isEditable());
    EXPECT_EQ(editor->contextInfo()->type, "Phone");

    // A second editor takes the place of the first, which reports its closing first.
    int second = 0;
    ASSERT_TRUE(opener.showEditor(request(ValueEditorKind::Date, true), [&] { second = closings + 1; }));
    EXPECT_EQ(closings, 1);
    ASSERT_TRUE(qobject_cast<DateViewController *>(opener.editor()));
    EXPECT_TRUE(opener.editor()->isEditable());
    opener.popover()->close();
    EXPECT_EQ(second, 2);
    EXPECT_FALSE(opener.popover());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(popover);
}

TEST_F(PopoverEditorOpenerTest, NothingOpensWithoutAnAnchor)
{
    ValueEditorRequest withoutAnchor = request(ValueEditorKind::List, true);
    withoutAnchor.anchor = nullptr;
    bool closed = false;
    EXPECT_FALSE(opener.showEditor(withoutAnchor, [&closed] { closed = true; }));
    EXPECT_FALSE(opener.popover());
    EXPECT_FALSE(closed);
}

} // namespace
