#pragma once

#include <QFont>
#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "print/LabelGrid.h"

// A read-only, typed view of the print options as they are at the moment: the view reads them
// afresh at every layout, since the accessory changes them in place. Every reader copes with a
// missing or ill-typed value (no tick, no text, no length).
class PrintOptionsReader
{
public:
    struct Item
    {
        QString title;
        bool state = false;
    };
    struct AddressList
    {
        QList<Item> items;
        // ["All"] when none is chosen.
        QStringList labels;
        bool alternatingRow = false;
        bool printFrame = false;
    };
    struct AddressBook
    {
        QStringList items;
        double fontSize = 0;
        bool printCompany = false;
    };

    explicit PrintOptionsReader(QVariantMap options) : m_options(std::move(options)) {}

    QString style() const;
    // "fontName", or the user font's family when it has none.
    QString fontName() const;
    // "fontSize" in points, at least 1.
    int fontSize() const;
    QFont font() const;
    QMarginsF margins() const;

    AddressList addressList() const;
    LabelGrid::Sizes labelSizes() const;
    // Labels printed per contact.
    qint64 repeatCount() const;
    AddressBook addressBook() const;

private:
    QVariantMap styleOptions(const QString &key) const;

    QVariantMap m_options;
};
