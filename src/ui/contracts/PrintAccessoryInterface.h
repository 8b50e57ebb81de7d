#pragma once

#include "ui/contracts/PrintViewInterface.h"

#include <QStringList>

class QWidget;

// The print panel's accessory: the tab of print styles and options. It keeps the print info's
// "FenwardePrintType" in step with its style and stores the last style and the options in the
// user defaults when the user changes them.
class PrintAccessoryInterface
{
public:
    virtual ~PrintAccessoryInterface() = default;

    // The stored options when their "Version" is recent enough, else new ones; the caller sets
    // "printStyle" before it makes the view.
    virtual PrintOptionsPtr printOptions() = 0;
    // The view the accessory updates when the options change; not owned.
    virtual void setPrintView(PrintViewInterface *view) = 0;
    // The current view type's columns, which seed the address list's items.
    virtual void setColumns(const QStringList &columns) = 0;
    // The tab shown in the print panel; null when there is none.
    virtual QWidget *view() = 0;
};
