#pragma once

#include <QColor>
#include <QWidget>

// A line drawn as a box: a border of some width around a fill.
class SeparatorBox : public QWidget
{
    Q_OBJECT

public:
    explicit SeparatorBox(QWidget *parent = nullptr);

    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color);
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);
    // The lock-state line of an editing view: red and two wide while editing; grey when locked,
    // keeping its width, so that only the colour tells the states apart.
    void showEditing(bool editing);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_borderWidth = 1.0;
    QColor m_borderColor = Qt::gray;
    QColor m_fillColor = Qt::gray;
};
