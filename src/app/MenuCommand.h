#pragma once

#include <QVariant>

class QAction;

// What a menu item does. Items carry their command in QAction::data, so validation and the Help
// menu tell them apart without reading their translated titles.
enum class MenuCommand
{
    None = 0,
    // File
    Close,
    Quit,
    // Edit
    Undo,
    Redo,
    FindBarButtonClicked,
    // Format
    ShowFonts,
    BiggerFont,
    SmallerFont,
    RevertToDefaultFont,
    // View
    ToggleToolbar,
    ToggleFullScreen,
    // Navigate
    ToggleContactInfo,
    ToggleGroupView,
    EditButtonClicked,
    AddGroup,
    DeleteGroup,
    DeleteContacts,
    DuplicateContacts,
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
