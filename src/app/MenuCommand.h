#pragma once

#include <QVariant>

class QAction;

// What a menu item does. Items carry their command in QAction::data, so validation and the Help
// menu tell them apart without reading their translated titles. An item may also carry a
// represented object beside its command: the view type, column, label or sort option it stands
// for.
enum class MenuCommand
{
    None = 0,
    // File
    ImportFromVCard,
    ImportFromCSV,
    ExportToVCard,
    ExportToCSV,
    SaveDocument,
    RevertAddressBookToSaved,
    PrintDocument,
    Close,
    Quit,
    // Edit
    Undo,
    Redo,
    Copy,
    CopyAsCSV,
    CopyAsVCard,
    Paste,
    FindBarButtonClicked,
    Find,
    FindAndReplace,
    FindNext,
    FindPrevious,
    UseSelectionForFind,
    ShowFindPanel,
    ShowCustomLabelPanel,
    // Format
    ShowFonts,
    BiggerFont,
    SmallerFont,
    RevertToDefaultFont,
    // View
    ToggleToolbar,
    ToggleFullScreen,
    // Navigate: the items that hold the toolbar's menus
    SelectViewTypeMenu,
    ItemsMenu,
    SelectLabelMenu,
    SortOptionsMenu,
    ContactMenu,
    GroupMenu,
    // Navigate, and the toolbar's contact and group menus
    ToggleContactInfo,
    ToggleGroupView,
    EditButtonClicked,
    AddGroup,
    DeleteGroup,
    DeleteContacts,
    DuplicateContacts,
    AddContact,
    ShowQRCode,
    MergeContacts,
    ToggleShowCompany,
    // The toolbar's contact menu: the CSV export of the selected contacts
    ExportContactsAsCSV,
    // The phone-layout items; the represented object is the PhoneLayout as an int
    NormalizePhoneNumber,
    // Toolbar menus
    PopupTitle,
    ViewTypePopupSelected,
    ItemsPopupSelected,
    LabelsPopupSelected,
    SortOptionsSelected,
    ShowCustomItems,
    // Window
    Minimize,
    Zoom,
    // Help
    HelpViaWeb,
    RateUs,
    FeedbackViaEmail,
    PrivacyPolicy,
    ShowAboutPanel,
};

// The command an item carries; None for an item without one.
MenuCommand menuCommand(const QAction *item);
void setMenuCommand(QAction *item, MenuCommand command);

// The item's represented object; invalid when it has none.
QVariant representedObject(const QAction *item);
void setMenuCommand(QAction *item, MenuCommand command, const QVariant &representedObject);
