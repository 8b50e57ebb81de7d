#include "EditorsFixture.h"

#include "editors/ValueEditor.h"
#include "platform/widgets/Popover.h"

#include <QPointer>

namespace {

// The smallest editor: its working copy is the context's value.
class EchoEditor : public ValueEditor
{
public:
    explicit EchoEditor(bool gated) : m_gated(gated) {}
    using ValueEditor::cancel;
    using ValueEditor::commit;
    QVariant working;

protected:
    bool honoursEditEnabled() const override { return m_gated; }
    void loadContext() override { working = contextInfo()->value; }
    void updateUI() override {}

private:
    bool m_gated;
};

class ValueEditorTest : public EditorsFixture
{
protected:
    EchoEditor *open(bool gated, bool editEnabled)
    {
        m_anchor.show();
        auto *editor = new EchoEditor(gated);
        m_popover = new Popover(&m_anchor);
        m_popover->setContentWidget(editor);
        editor->setPopover(m_popover);
        m_popover->showRelativeToRect(QRect(0, 0, 10, 10), &m_anchor, Popover::Edge::MaxY);
        m_context = std::make_shared<EditorContext>();
        m_context->value = QStringLiteral("before");
        m_context->editEnabled = editEnabled;
        editor->setContextInfo(m_context, true);
        return editor;
    }

    QWidget m_anchor;
    QPointer<Popover> m_popover;
    EditorContextPtr m_context;
};

TEST_F(ValueEditorTest, OnlyDoneHandsAValueBackInTheSameContext)
{
    EchoEditor *editor = open(false, false);
    EXPECT_EQ(editor->working, "before");
    editor->commit(QStringLiteral("after"));
    EXPECT_EQ(editor->contextInfo(), m_context);
    EXPECT_EQ(m_context->value, "after");
    EXPECT_EQ(m_context->dirty, true);
    EXPECT_FALSE(m_popover->isShown());

    open(false, false)->cancel(true);
    EXPECT_EQ(m_context->dirty, false);
    open(false, false);
    m_popover->close();
    EXPECT_FALSE(m_context->dirty.has_value());
    EXPECT_EQ(m_context->value, "before");
}

TEST_F(ValueEditorTest, AnEditorThatHonoursEditEnabledStaysLockedWithoutIt)
{
    EchoEditor *locked = open(true, false);
    EXPECT_FALSE(locked->isEditable());
    locked->setEditable(true);
    EXPECT_FALSE(locked->isEditable());
    EXPECT_TRUE(open(true, true)->isEditable());
    EXPECT_TRUE(open(false, false)->isEditable());
}

} // namespace
