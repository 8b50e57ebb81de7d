#include "print/AddressListText.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "print/PrintKeys.h"
#include "print/TextDevice.h"
#include "ui/widgets/LabelPopup.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString NameIdentifier = QStringLiteral("Name");
const QColor DimColor(128, 128, 128);

} // namespace

QString AddressListText::Line::text() const
{
    QString text;
    for (const Run &run : runs)
        text += run.text;
    return text;
}

// Appends text to the record line by line: a line break in the text starts a new line at the
// indent given for the continuation, and a line too long for the row wraps to that indent too.
class AddressListText::Writer
{
public:
    void startLine(double indent, double wrapIndent) { m_lines.append(Line{indent, wrapIndent, {}}); }
    void add(const QString &text, bool dim, double continuationIndent)
    {
        const QStringList pieces = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                startLine(continuationIndent, continuationIndent);
            if (!pieces[i].isEmpty())
                m_lines.last().runs.append({pieces[i], dim});
        }
    }
    QList<Line> lines() const { return m_lines; }

private:
    QList<Line> m_lines;
};

AddressListText::AddressListText(const PrintOptionsReader::AddressList &options, const QFont &font)
    : m_options(options), m_font(font)
{
}

bool AddressListText::passesFilter(const QString &label) const
{
    return m_options.labels.contains(PrintKey::AllLabels) || m_options.labels.contains(label);
}

QList<AddressListText::Line> AddressListText::lines(QNPerson *person) const
{
    Writer writer;
    writer.startLine(0, 0);
    writer.add(person ? person->compositeName() : QString(), false, 0);
    for (const PrintOptionsReader::Item &item : m_options.items) {
        // The name always leads, whatever its tick.
        if (item.state && item.title != NameIdentifier)
            appendItem(writer, person, item.title);
    }
    return writer.lines();
}

// "Title: " then the value, the title in the words the rest of the program shows for the item. Later
// lines of a value, and lines wrapped at the row's end, stand under its first character. A value the contact
// lacks leaves the title alone on its line.
void AddressListText::appendItem(Writer &writer, QNPerson *person, const QString &identifier) const
{
    const QString title = QNPerson::localizedIdentifierForKey(identifier) + QStringLiteral(": ");
    const double column = QFontMetricsF(m_font, TextDevice::points()).horizontalAdvance(title) + TitleIndent;
    writer.startLine(TitleIndent, column);
    writer.add(title, false, column);
    const QVariant value = person ? person->valueForIdentifier(identifier) : QVariant();
    switch (value.typeId()) {
    case QMetaType::QVariantList:
        appendEntries(writer, value.toList(), column);
        break;
    case QMetaType::QVariantMap:
        writer.add(value.toMap().value(PersonKey::StringValue).toString(), false, column);
        break;
    case QMetaType::QString:
        writer.add(value.toString(), false, column);
        break;
    default:
        break;
    }
}

// One line per entry that passes the label filter: "label: value", the label and colon dimmed.
void AddressListText::appendEntries(Writer &writer, const QVariantList &entries, double column) const
{
    bool first = true;
    for (const QVariant &value : entries) {
        const QVariantMap entry = value.toMap();
        const bool shown = entry.contains(PersonKey::StringValue);
        const QString label = entry.value(PersonKey::Label).toString();
        if (shown && !passesFilter(label))
            continue;
        if (!first)
            writer.startLine(column, column);
        first = false;
        if (!shown)
            continue;
        writer.add(LabelPopup::localizedLabel(label) + QLatin1Char(':'), true, column);
        writer.add(QLatin1Char(' ') + entry.value(PersonKey::StringValue).toString(), false, column);
    }
}

std::unique_ptr<QTextDocument> AddressListText::document(QNPerson *person, double width) const
{
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(TextDevice::points());
    document->setDocumentMargin(0);
    document->setDefaultFont(m_font);
    // Nothing to undo; and the layout, at the row's width, runs once when the edit block ends
    // rather than after every insertion (thousands of records are measured and drawn).
    document->setUndoRedoEnabled(false);
    document->setTextWidth(width);
    QTextCharFormat plain;
    plain.setFont(m_font);
    QTextCharFormat dim = plain;
    dim.setForeground(DimColor);
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    bool firstLine = true;
    for (const Line &line : lines(person)) {
        QTextBlockFormat block;
        // A hanging indent: the first line at its indent, the wrapped ones at the wrap indent.
        block.setLeftMargin(line.wrapIndent);
        block.setTextIndent(line.indent - line.wrapIndent);
        if (firstLine)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block, plain);
        firstLine = false;
        for (const Run &run : line.runs)
            cursor.insertText(run.text, run.dim ? dim : plain);
    }
    cursor.endEditBlock();
    return document;
}
