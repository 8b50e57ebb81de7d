#pragma once

#include "ui/contracts/EditorContext.h"
#include "ui/contracts/ValueEditorFactory.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class DetailTableController;
class DetailTableHost;
class Popover;

// Opens the value editors over the detail table, one at a time in the host's one popover, and
// writes a finished editor's result back through the host's edit delegate when the popover closes.
//
// The popover is made on first use and dropped when it closes, so the next editor gets a fresh one;
// an editor opened while another is shown takes its place and the first one writes nothing.
class DetailEditorPresenter : public QObject
{
    Q_OBJECT

public:
    DetailEditorPresenter(DetailTableController &table, DetailTableHost &host, QObject *parent = nullptr);

    // Where every detail table gets its editors; the shell sets it once. Without one no editor opens.
    static void setValueEditorFactory(ValueEditorFactory *factory);
    static ValueEditorFactory *valueEditorFactory();

    // The popover now showing an editor; null when none is open.
    Popover *popover() const;

    // rect is the clicked cell in the table's viewport; labelIndex -1 asks for a new value.
    void showMultiValuePopover(const QString &type, int labelIndex, const QRect &rect);
    void showAddressPopover(const QString &type, int labelIndex, const QRect &rect);
    void showIMSPopover(const QString &type, int labelIndex, const QRect &rect);
    void showSNSPopover(const QString &type, int labelIndex, const QRect &rect);
    // "Dates" opens the list of dates, "Birthday" the birthday; any other type nothing.
    void showDatePopover(const QString &type, int labelIndex, const QRect &rect);

    // Applies the result of the editor the popover shows, when Done handed one back.
    void popoverDidClose(Popover *popover);
    // Closes the open editor, if any, and drops whatever it holds.
    void closeWithoutWriting();

private:
    Popover *makePopover();
    void present(ValueEditorFactory::Kind kind, const QSize &size, const QRect &rect,
                 const EditorContextPtr &context);
    bool writeBack(const EditorContext &context);

    DetailTableController &m_table;
    DetailTableHost &m_host;
    QPointer<Popover> m_popover;
};
