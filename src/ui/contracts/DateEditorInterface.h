#pragma once

#include "model/AddressBookRecords.h"

#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class Popover;
class QWidget;

// The one-date value editor as a pane that cannot see the editors opens it: the birthday, or one
// dated entry handed in. The presenter puts view() into its popover, opens the editor and, when
// the popover has closed, reads dirtyValue().
class DateEditorInterface
{
public:
    virtual ~DateEditorInterface() = default;

    // The editor's widget; the popover that shows it takes it over.
    virtual QWidget *view() = 0;
    // The presenter's popover, which the editor's Done and Cancel close.
    virtual void setPopover(Popover *popover) = 0;
    // Label keys the editor shows (display only).
    virtual void setLabels(const QStringList &labels) = 0;
    // type "Birthday" or "Dates"; entry: the dated entry to edit, nil for the contact's own value
    // of the type; editable: the presenter's edit state.
    virtual void setContextInfo(const ContactRowPtr &contact, const QString &type, const QVariant &entry,
                                bool editable) = 0;
    // After closing: what Done handed back while unlocked ({"value", "stringValue"}, or nil for a
    // cleared date); none when nothing is to be written.
    virtual std::optional<QVariant> dirtyValue() const = 0;
};

using DateEditorFactory = std::function<std::unique_ptr<DateEditorInterface>()>;
