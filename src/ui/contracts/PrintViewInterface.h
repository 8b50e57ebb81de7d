#pragma once

#include "ui/contracts/SubContactRow.h"
#include "model/QNPerson.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <memory>

class PrintInfo;

// A PrintOptionsDict ("Version", "printStyle", ...). The accessory and the print view hold the same
// one, so that a change made in the panel reaches the view.
using PrintOptionsPtr = std::shared_ptr<QVariantMap>;

// What the print command needs of the view that lays out and draws the selected contacts. The
// view is made from the rows, the print info and the options, and paginates then.
class PrintViewInterface
{
public:
    virtual ~PrintViewInterface() = default;

    virtual void setPrinting(bool printing) = 0;
    virtual void setPrintInfo(PrintInfo *printInfo) = 0;
    // Also takes "fontName"; without it the user font of 16 points.
    virtual void setOptions(const PrintOptionsPtr &options) = 0;
    virtual void setSelectedStyle(const QString &style) = 0;
    virtual void setReceiverPersons(const QList<SubContactRowPtr> &rows) = 0;
    // The sender of mailing labels; null for none.
    virtual void setSenderPerson(const QNPersonPtr &person) = 0;
};
