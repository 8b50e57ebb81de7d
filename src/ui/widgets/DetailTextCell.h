#pragma once

#include "ui/widgets/DetailFindMarks.h"

#include <QList>
#include <QWidget>

// The value cell of a text: one line per line of the value, each a row height high, the block
// on the middle of the row; the find marks behind the text; the placeholder in gray when the value
// is empty. Clicks go through to the table, which starts in-place editing.
class DetailTextCell : public QWidget
{
    Q_OBJECT

public:
    explicit DetailTextCell(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QString placeholderText() const { return m_placeholder; }
    void setPlaceholderText(const QString &placeholder);
    const QList<DetailFindMarks::Mark> &marks() const { return m_marks; }
    void setMarks(const QList<DetailFindMarks::Mark> &marks);
    // Whether in-place editing may start on this cell.
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }
    // The height of one line and the lines of the row the cell sits in.
    void setLineLayout(double rowHeight, int rowLines);
    // Top of the first text line inside the cell.
    int textTop() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawLine(QPainter &painter, const QString &line, qsizetype offset, const QRectF &band) const;

    QString m_text;
    QString m_placeholder;
    QList<DetailFindMarks::Mark> m_marks;
    bool m_editable = false;
    double m_rowHeight = 20.0;
    int m_rowLines = 1;
};
