#include "editors/PopoverEditorOpener.h"

#include "editors/AddressViewController.h"
#include "editors/DateViewController.h"
#include "editors/DatesViewController.h"
#include "editors/IMSViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/SNSViewController.h"
#include "platform/widgets/Popover.h"

PopoverEditorOpener::PopoverEditorOpener(QObject *parent) : QObject(parent)
{
}

// A popover still shown goes without reporting: its presenter is going too.
PopoverEditorOpener::~PopoverEditorOpener()
{
    if (m_popover) {
        m_popover->disconnect(this);
        delete m_popover.data();
    }
}

ValueEditor *PopoverEditorOpener::editor() const
{
    return m_popover ? qobject_cast<ValueEditor *>(m_popover->contentWidget()) : nullptr;
}

ValueEditor *PopoverEditorOpener::makeEditor(ValueEditorKind kind, const QFont &font)
{
    switch (kind) {
    case ValueEditorKind::List: {
        auto *editor = new MultiValueViewController;
        editor->setSelectedFont(font);
        return editor;
    }
    case ValueEditorKind::Address:
        return new AddressViewController;
    case ValueEditorKind::InstantMessage:
        return new IMSViewController;
    case ValueEditorKind::SocialProfile:
        return new SNSViewController;
    case ValueEditorKind::Dates:
        return new DatesViewController;
    case ValueEditorKind::Date:
        return new DateViewController;
    }
    return nullptr;
}

bool PopoverEditorOpener::showEditor(const ValueEditorRequest &request, std::function<void()> closed)
{
    if (!request.anchor || !request.context)
        return false;
    ValueEditor *editor = makeEditor(request.kind, request.font);
    if (!editor)
        return false;
    if (m_popover)
        m_popover->close();
    auto *popover = new Popover(request.anchor->window());
    popover->setBehavior(Popover::Behavior::Transient);
    popover->setContentWidget(editor);
    popover->setContentSize(request.contentSize);
    editor->setPopover(popover);
    m_popover = popover;
    connect(popover, &Popover::closed, this, [this, popover, closed = std::move(closed)] {
        if (m_popover == popover)
            m_popover = nullptr;
        popover->deleteLater();
        if (closed)
            closed();
    });
    popover->showRelativeToRect(request.rect, request.anchor, Popover::Edge::MaxY);
    editor->setContextInfo(request.context, request.editable);
    return true;
}
