#pragma once

#include <QImage>
#include <QWidget>

// The label column's cell: the field's name with its icon, placed on the middle line of a row of
// several lines. Clicks go through to the table.
class DetailTypeCell : public QWidget
{
    Q_OBJECT

public:
    explicit DetailTypeCell(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QImage icon() const { return m_icon; }
    void setIcon(const QImage &icon);
    // The text line's band inside the cell.
    int textTop() const { return m_textTop; }
    void setTextBand(int top, int height);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QImage m_icon;
    int m_textTop = 0;
    int m_textHeight = 20;
};
