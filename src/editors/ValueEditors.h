#pragma once

#include "ui/contracts/ValueEditorFactory.h"

// The value editors of this folder, for the panes that present them.
class ValueEditors : public ValueEditorFactory
{
public:
    QWidget *makeEditor(Kind kind, Popover *popover, const QFont &font) override;
    void setContextInfo(QWidget *editor, const EditorContextPtr &context, bool editable) override;
    EditorContextPtr contextInfo(QWidget *editor) const override;
};
