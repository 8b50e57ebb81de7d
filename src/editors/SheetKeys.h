#pragma once

class QDialog;
class QPushButton;

// Keys that the editors' sheets share.
namespace SheetKeys {

// Return presses the sheet's confirming button, wherever in the sheet it is typed: no other button
// takes Return, neither as the sheet's first button nor while it has the focus. A cell being
// edited still takes Return for itself, to end the edit.
void setConfirmingButton(QDialog *sheet, QPushButton *confirming);

} // namespace SheetKeys
