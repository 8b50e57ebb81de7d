#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

// The QR-code sheet's image area: the code on white, or a message in its place.
//
// The code is drawn whole and centred at the largest whole number of pixels per module that fits
// the area (up to the copied image's own scale), so the finder patterns and the quiet zone always
// show and the modules stay sharp enough to scan from the screen. The area grows with its layout.
class QRCodeView : public QWidget
{
    Q_OBJECT

public:
    explicit QRCodeView(QWidget *parent = nullptr);

    // The symbol with its quiet zone, one pixel per module.
    void showCode(const QImage &framedSymbol);
    // Said in place of a code, such as when the values are too long for one.
    void showMessage(const QString &text);
    void clear();

    QString message() const;
    // Where the code is drawn; empty while there is none.
    QRect codeRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_framedSymbol;
    QLabel *m_messageLabel;
};
