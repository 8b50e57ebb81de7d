#pragma once

#include "ui/widgets/DetailRowMenu.h"

class DetailEditDelegate;
class QObject;

// What the detail table needs of the view that shows it: the main window's detail pane, or a
// detail popover over the grid and its torn-off window.
class DetailTableHost
{
public:
    virtual ~DetailTableHost() = default;

    // Where edits go; null while the host has none (then nothing is changed or reported).
    virtual DetailEditDelegate *editDelegate() const = 0;
    // The object passed as the sender of edits and selection reports.
    virtual QObject *editSender() = 0;
    // After an edit of the shown contact: mark the host's window edited and broadcast the change.
    virtual void sendContactDidUpdate() = 0;

    // Which row menu the table offers: the pane's unless the host says otherwise.
    virtual DetailRowMenu::Variant rowMenuVariant() const { return DetailRowMenu::Variant::Pane; }
};
