#pragma once

#include <QWidget>

// The find bar's strip: the text background with a light gray frame around it.
class FindBarView : public QWidget
{
    Q_OBJECT

public:
    explicit FindBarView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
