#pragma once

#include "print/AddressListPages.h"
#include "print/PageGeometry.h"
#include "ui/contracts/PrintViewInterface.h"

#include <QPageLayout>

class QPainter;

// What a print draws: the selected rows in the chosen style, page by page. It renders for the
// preview and for the printer alike: paginate() with the paper, then drawPage() for each page.
//
// The options are the accessory's own dictionary, never copied: every pagination reads them as
// they are then, so a change in the panel shows at the next one. The view never writes them.
class PrintView : public PrintViewInterface
{
public:
    PrintView(QList<SubContactRowPtr> rows, const PrintInfo &printInfo, PrintOptionsPtr options);

    void setPrinting(bool printing) override { m_printing = printing; }
    void setPrintInfo(PrintInfo *printInfo) override { m_printInfo = printInfo; }
    void setOptions(const PrintOptionsPtr &options) override;
    void setSelectedStyle(const QString &style) override { m_selectedStyle = style; }
    void setReceiverPersons(const QList<SubContactRowPtr> &rows) override { m_receiverPersons = rows; }
    void setSenderPerson(const QNPersonPtr &person) override { m_senderPerson = person; }

    // Lays the rows out on that paper in the style the options name now; the page count.
    int paginate(const QPageLayout &paper);
    int pageCount() const { return m_pages; }
    // Page k, counted from 0 (the first sheet); the painter in points from the paper's top-left.
    // Lays out again first when the options changed since the last pagination.
    void drawPage(QPainter &painter, int page);

    bool isPrinting() const { return m_printing; }
    PrintInfo *printInfo() const { return m_printInfo; }
    PrintOptionsPtr printOptions() const { return m_options; }
    QString selectedStyle() const { return m_selectedStyle; }
    QString selectedFontName() const { return m_selectedFontName; }
    QList<SubContactRowPtr> contacts() const { return m_contacts; }
    QList<SubContactRowPtr> receiverPersons() const { return m_receiverPersons; }
    QNPersonPtr senderPerson() const { return m_senderPerson; }
    PageGeometry geometry() const { return m_geometry; }
    const AddressListPages &addressList() const { return m_addressList; }

private:
    int countPages(const QString &style);
    // The rows of labels and envelopes: the receivers, else the rows the view was made with.
    QList<SubContactRowPtr> labelRows() const;
    QString fontName() const;
    void drawPaper(QPainter &painter) const;

    QList<SubContactRowPtr> m_contacts;
    PrintOptionsPtr m_options;
    bool m_printing = false;
    PrintInfo *m_printInfo = nullptr;
    QList<SubContactRowPtr> m_receiverPersons;
    QNPersonPtr m_senderPerson;
    QString m_selectedFontName;
    QString m_selectedStyle;

    QPageLayout m_paper;
    PageGeometry m_geometry;
    int m_pages = 0;
    // The options the last pagination read.
    QVariantMap m_laidOutOptions;
    AddressListPages m_addressList;
};
