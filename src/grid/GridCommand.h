#pragma once

#include <QVariant>

class QAction;

// What an item of the grid's cell or header menu does. Items carry it in QAction::data, so the
// commands that share an action (the two map items, the two replace items, the editor items) are
// told apart without reading their translated titles.
enum class GridCommand
{
    None = 0,
    // Editors (the popover wrapper)
    ShowContactInfo,
    OpenNamePanel,
    OpenEditPanel,
    OpenAddressPanel,
    OpenIMSPanel,
    OpenSNSPanel,
    OpenDatesPanel,
    OpenBirthdayPanel,
    OpenPhoneticNamePanel,
    // Contacts
    ShowQRCode,
    AddContact,
    DeleteContact,
    DuplicateContact,
    ExportContact,
    ToggleShowCompany,
    // Links
    CallPhone,
    SendEmail,
    OpenURL,
    OpenDesktopMap,
    OpenWebMap,
    OpenCalendar,
    // Items
    AddItem,
    DeleteItem,
    ClearText,
    ReplaceLabelAndText,
    ReplaceText,
    PrependText,
    AppendText,
    // Header
    SortOption,
};

GridCommand gridCommand(const QAction *item);
void setGridCommand(QAction *item, GridCommand command);
