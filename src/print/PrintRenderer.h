#pragma once

class PrintView;
class QPrinter;

// Prints the view on the printer, on the printer's paper: one pagination, then each page in order
// (the pages the user asked for, when a range was asked for). The preview and the real print both
// come through here.
namespace PrintRenderer {

// False when the printer could not be started.
bool render(PrintView &view, QPrinter &printer);

} // namespace PrintRenderer
