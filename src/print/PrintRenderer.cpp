#include "print/PrintRenderer.h"

#include "platform/BusySign.h"
#include "print/PrintView.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace PrintRenderer {

bool render(PrintView &view, QPrinter &printer)
{
    // The view draws from the top-left of the paper, whatever the printer's margins.
    printer.setFullPage(true);
    const int pages = view.paginate(printer.pageLayout());
    int first = 0;
    int last = pages - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(printer.fromPage() - 1, 0);
        last = std::min(printer.toPage() > 0 ? printer.toPage() - 1 : last, last);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / 72.0;
    for (int page = first; page <= last; ++page) {
        // A print of thousands of contacts holds the main thread for seconds.
        BusySign::tick();
        if (page > first)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        view.drawPage(painter, page);
        painter.restore();
    }
    return painter.end();
}

} // namespace PrintRenderer
