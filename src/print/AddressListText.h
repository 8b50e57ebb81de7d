#pragma once

#include "print/PrintOptionsReader.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class QNPerson;
class QTextDocument;

// The text of one address-list record: the contact's name on the first line, then one paragraph
// per ticked item, "Title: value", a list's entries one per line in a column after the title, each
// entry's label and colon dimmed. The same document is measured for pagination and drawn, so both
// agree line for line.
class AddressListText
{
public:
    // A run of text, dimmed or not.
    struct Run
    {
        QString text;
        bool dim = false;
        bool operator==(const Run &) const = default;
    };
    // One line of the record as written, before wrapping; the first line of a paragraph starts
    // `indent` points in, its wrapped lines at the left edge.
    struct Line
    {
        double indent = 0;
        // Where the line goes on when it is too long for the row.
        double wrapIndent = 0;
        QList<Run> runs;
        QString text() const;
    };

    AddressListText(const PrintOptionsReader::AddressList &options, const QFont &font);

    QList<Line> lines(QNPerson *person) const;
    // The record laid out at the row's width.
    std::unique_ptr<QTextDocument> document(QNPerson *person, double width) const;

    static constexpr double TitleIndent = 20.0;

private:
    class Writer;
    void appendItem(Writer &writer, QNPerson *person, const QString &identifier) const;
    void appendEntries(Writer &writer, const QVariantList &entries, double column) const;
    bool passesFilter(const QString &label) const;

    PrintOptionsReader::AddressList m_options;
    QFont m_font;
};
