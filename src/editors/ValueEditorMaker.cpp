#include "editors/ValueEditorMaker.h"

#include "editors/AddressViewController.h"
#include "editors/DateViewController.h"
#include "editors/DatesViewController.h"
#include "editors/IMSViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/NameViewController.h"
#include "editors/PhoneticNameViewController.h"
#include "editors/SNSViewController.h"

namespace {

ValueEditor *newEditor(ValueEditorFactory::Editor editor, const QFont &font)
{
    using Editor = ValueEditorFactory::Editor;
    switch (editor) {
    case Editor::List: {
        auto *list = new MultiValueViewController;
        list->setSelectedFont(font);
        return list;
    }
    case Editor::Address:
        return new AddressViewController;
    case Editor::SocialProfile:
        return new SNSViewController;
    case Editor::InstantMessage:
        return new IMSViewController;
    case Editor::Dates:
        return new DatesViewController;
    case Editor::Birthday:
        return new DateViewController;
    case Editor::PhoneticName:
        return new PhoneticNameViewController;
    case Editor::Name:
        return new NameViewController;
    }
    return nullptr;
}

} // namespace

QWidget *ValueEditorMaker::makeEditor(Editor editor, Popover *popover, const QFont &font) const
{
    ValueEditor *made = newEditor(editor, font);
    if (made)
        made->setPopover(popover);
    return made;
}

void ValueEditorMaker::setContextInfo(QWidget *editor, const Request &request, bool editable) const
{
    auto *valueEditor = qobject_cast<ValueEditor *>(editor);
    if (!valueEditor)
        return;
    auto context = std::make_shared<EditorContext>();
    context->contact = request.contact;
    context->type = request.type;
    context->labelIndex = request.labelIndex;
    context->editEnabled = request.editEnabled;
    valueEditor->setContextInfo(context, editable);
}

std::optional<ValueEditorFactory::Result> ValueEditorMaker::dirtyResult(QWidget *editor) const
{
    auto *valueEditor = qobject_cast<ValueEditor *>(editor);
    const EditorContextPtr context = valueEditor ? valueEditor->contextInfo() : nullptr;
    if (!context || !context->dirty.value_or(false))
        return std::nullopt;
    return Result{context->type, context->value};
}
