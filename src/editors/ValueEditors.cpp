#include "editors/ValueEditors.h"

#include "editors/AddressViewController.h"
#include "editors/DateViewController.h"
#include "editors/DatesViewController.h"
#include "editors/IMSViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/SNSViewController.h"

QWidget *ValueEditors::makeEditor(Kind kind, Popover *popover, const QFont &font)
{
    ValueEditor *editor = nullptr;
    switch (kind) {
    case Kind::List: {
        auto *list = new MultiValueViewController;
        list->setSelectedFont(font);
        editor = list;
        break;
    }
    case Kind::Address:
        editor = new AddressViewController;
        break;
    case Kind::InstantMessage:
        editor = new IMSViewController;
        break;
    case Kind::SocialProfile:
        editor = new SNSViewController;
        break;
    case Kind::Dates:
        editor = new DatesViewController;
        break;
    case Kind::Birthday:
        editor = new DateViewController;
        break;
    }
    editor->setPopover(popover);
    return editor;
}

void ValueEditors::setContextInfo(QWidget *editor, const EditorContextPtr &context, bool editable)
{
    if (auto *valueEditor = qobject_cast<ValueEditor *>(editor))
        valueEditor->setContextInfo(context, editable);
}

EditorContextPtr ValueEditors::contextInfo(QWidget *editor) const
{
    auto *valueEditor = qobject_cast<ValueEditor *>(editor);
    return valueEditor ? valueEditor->contextInfo() : nullptr;
}
