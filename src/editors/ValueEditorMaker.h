#pragma once

#include "ui/contracts/ValueEditorFactory.h"

// The value editors of this folder, for presenters that know them only through the factory.
class ValueEditorMaker : public ValueEditorFactory
{
public:
    QWidget *makeEditor(Editor editor, Popover *popover, const QFont &font) const override;
    void setContextInfo(QWidget *editor, const Request &request, bool editable) const override;
    std::optional<Result> dirtyResult(QWidget *editor) const override;
};
