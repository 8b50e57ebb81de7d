#pragma once

#include "panels/QRPayload.h"
#include "panels/QRSelectionRow.h"
#include "platform/widgets/Sheet.h"
#include "ui/contracts/SubContactRow.h"

#include <QImage>
#include <QList>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QRCodeView;
class QTableWidget;
class QTableWidgetItem;

// The sheet that builds a QR code from chosen values of one grid row's contact: a table of its
// phones, e-mail addresses, addresses, URLs, company, department and job title with checkboxes,
// a popup of payload formats, the payload text, the code's image, Copy and Close.
//
// A new sheet is made for each contact: setContact(), then beginSheetModalForWindow(). Every
// change of the format or of a checkbox rebuilds the payload and the image at once. Close ends
// the sheet with 1. Nothing of the contact is changed.
class QRCodePanelController : public Sheet
{
    Q_OBJECT

public:
    explicit QRCodePanelController(QWidget *parent = nullptr);

    // Builds the rows from the row's person and shows the payload of the chosen format.
    void setContact(const SubContactRowPtr &contact);
    SubContactRowPtr contact() const { return m_contact; }
    const QList<QRSelectionRow> &table() const { return m_table; }
    int rowHeight() const { return m_rowHeight; }

    QRFormat selectedFormat() const;
    void selectFormat(QRFormat format);
    // Rebuilds the payload and the image for the popup's format and enables the rows it reads.
    void formatPopupSelected();

    // A tick in the Value column; the payload follows at once.
    void setRowSelected(int row, bool selected);
    // Rows of kinds the format does not read are disabled; their ticks stay as they were.
    bool isRowEnabled(int row) const;
    int heightOfRow(int row) const;

    // As encoded; the text view shows it with its own line ends.
    QString payload() const { return m_payload; }
    // Null when the payload fits no QR code.
    QImage image() const { return m_image; }

    // The Copy key: the image as PNG, the only type on the clipboard; nothing without an image.
    // Payload text selected in the focused text view is copied as text instead.
    void copy();
    // The Copy button: the image as copy() puts it. Without an image the button is disabled and
    // the image area says why, so the clipboard keeps what it had.
    void copyButtonPressed();
    void closeButtonPressed();

    QTableWidget *tableView() const { return m_tableView; }
    QComboBox *formatPopup() const { return m_formatPopup; }
    QPlainTextEdit *textView() const { return m_textView; }
    QRCodeView *imageView() const { return m_imageView; }
    QPushButton *copyButton() const { return m_copyButton; }
    QPushButton *closeButton() const { return m_closeButton; }

private:
    void windowDidLoad();
    void reloadData();
    void fillRow(int row);
    QTableWidgetItem *itemAt(int row, int column);
    void tableItemChanged(QTableWidgetItem *item);
    void showCode(const QImage &framedSymbol);
    void copyImage();

    QTableWidget *m_tableView;
    QComboBox *m_formatPopup;
    QPlainTextEdit *m_textView;
    QRCodeView *m_imageView;
    QPushButton *m_copyButton;
    QPushButton *m_closeButton;

    SubContactRowPtr m_contact;
    QList<QRSelectionRow> m_table;
    QString m_payload;
    QImage m_image;
    int m_rowHeight = 20;
};
