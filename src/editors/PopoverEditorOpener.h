#pragma once

#include "ui/contracts/ValueEditorOpener.h"

#include <QObject>
#include <QPointer>

class Popover;
class ValueEditor;

// The value editors in a transient popover, one at a time, for the panes that present them.
class PopoverEditorOpener : public QObject, public ValueEditorOpener
{
    Q_OBJECT

public:
    explicit PopoverEditorOpener(QObject *parent = nullptr);
    ~PopoverEditorOpener() override;

    bool showEditor(const ValueEditorRequest &request, std::function<void()> closed) override;

    // The popover shown now; null when none is.
    Popover *popover() const { return m_popover; }
    ValueEditor *editor() const;

    static ValueEditor *makeEditor(ValueEditorKind kind, const QFont &font);

private:
    QPointer<Popover> m_popover;
};
