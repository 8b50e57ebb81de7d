#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Every key of the user defaults, with its value type and the value a reader takes when the key
// is absent. Nothing is registered at start: each reader supplies the default below itself, and
// the writers named "stored at the first start" write it then. The restore-defaults reset removes
// the whole domain, so every key falls back to these.
namespace DefaultsKey {

// ViewTypeDict: view-type name to its column identifiers, each list holding "Name".
// Absent or empty: the built-in table (ViewTypes::defaultViewTypeDict), stored at the first start.
inline const QString ViewTypeDict = QStringLiteral("QN1DviewTypeDict");
// String, one view-type name. Absent: "Email", stored at the first start.
inline const QString SelectedViewType = QStringLiteral("QN1DselectedViewType");
// Array of label keys. Absent: ["All"] (no filter), stored at the first start.
inline const QString SelectedLabels = QStringLiteral("QN1DselectedLabels");
// SortOptionsDict: column identifier to {"type", "items", "selected"}. Absent: the built-in
// sort-options table (SortOptions::makeDict), rebuilt and stored whenever the sort-options menu
// is built.
inline const QString SortOptionsDict = QStringLiteral("QN1DsortOptionsDict");
// Dictionary of column identifier to the chosen option name. Absent: "Name" to
// "compositeName", every other built-in column to itself (SortOptions::builtInChoices).
inline const QString SortOptionsDefault = QStringLiteral("QN1DsortOptionsDefault");
// Dictionary of column identifier to width. Absent: ColumnWidth per column, never below
// MinimumColumnWidth.
inline const QString ColumnWidthDictionary = QStringLiteral("QN1DcolumnWidthDictionary");
// Dictionary {"key": sort key, "ascending": boolean}. Absent: "compositeName", ascending.
inline const QString LastSortDesc = QStringLiteral("QN1DlastSortDesc");
// Array of field identifiers: the order of the detail rows. Absent: the detail pane's fixed
// order of 22 fields.
inline const QString LastRowOrder = QStringLiteral("QN1DlastRowOrder");
// Boolean. Absent: false.
inline const QString ShowCompanyInNameCell = QStringLiteral("QN1DshowCompanyInNameCell");
// Boolean: the group sidebar is shown. Absent: true, stored at the first start.
inline const QString ShowGroupView = QStringLiteral("QN1DshowGroupView");
// Dictionary {"sidebar", "detail"}: the widths of the split view's side panes as last shown.
// Absent: 200 and 300.
inline const QString PaneWidths = QStringLiteral("QN1DpaneWidths");
// Boolean: the window is in edit state. Absent: false (the window starts locked).
inline const QString LastEditState = QStringLiteral("QN1DlastEditState");
// String: the container of the last selected group. Absent: the store's default container,
// else the first.
inline const QString LastContainerIdentifier = QStringLiteral("QN1DlastContainerIdentifier");
// String: font name for the detail views. Absent: the system font.
inline const QString DefaultFontName = QStringLiteral("QN1DdefaultFontName");
// Real: point size for the detail views. Absent: DefaultFontSize; below MinimumFontSize gives
// MinimumFontSize.
inline const QString DefaultFontSizeKey = QStringLiteral("QN1DdefaultFontSize");
// String: font name of the window. Absent: the system font of DefaultFontSize points. Takes the
// document suffix (documentKey).
inline const QString FontName = QStringLiteral("QNFontName");
// Real: point size of that font, never below MinimumFontSize. None gives DefaultFontSize with the
// system font's name, MinimumFontSize with another name. Takes the document suffix.
inline const QString FontSize = QStringLiteral("QNFontSize");
// Integer: rows of icons in the detail popover. Absent: 3.
inline const QString IconRowCount = QStringLiteral("QN1DiconRowCount");
// PrintOptionsDict with "Version". Absent, or a "Version" below 6: new options of version 6.
inline const QString PrintOptions = QStringLiteral("QN1DprintOptions");
// String: the last print style. Absent: DefaultPrintStyle.
inline const QString LastPrintStyle = QStringLiteral("QN1DlastPrintStyle");
// String: the kind last chosen in the custom-label sheet. Absent: the sheet's first kind.
inline const QString LastSelectedItemInCustomPanel = QStringLiteral("QN1DlastSelectedItemInCustomPanel");
// Array: the encoding list of the file-encoding chooser. Absent: the chooser's built-in list.
inline const QString Encodings = QStringLiteral("Encodings");
// Dictionary {"x", "y", "width", "height"}: the frame of the window of that autosave name
// (WindowFramePrefix followed by the name). Absent: the first-run frame.
inline const QString WindowFramePrefix = QStringLiteral("QN1DwindowFrame ");

inline constexpr double DefaultFontSize = 12.0;
inline constexpr double MinimumFontSize = 7.0;
inline constexpr double ColumnWidth = 200.0;
inline constexpr double MinimumColumnWidth = 20.0;
inline constexpr int DefaultIconRowCount = 3;
inline const QString DefaultPrintStyle = QStringLiteral("Address List");

enum class ValueType
{
    String,
    Boolean,
    Integer,
    Real,
    Array,
    Dictionary
};

struct KeyInfo
{
    QString key;
    ValueType type;
    // The default a reader takes; invalid where the owner builds it (the detail rows' order,
    // the print options, the encoding list) or where it comes from elsewhere (the store's
    // default container, the system font, the custom-label sheet's first kind).
    QVariant defaultValue;
};

// Every key above except the window frames, in the order above.
QList<KeyInfo> allKeys();
// The default a reader takes for the key (see KeyInfo); invalid for an unknown key.
QVariant defaultValue(const QString &key);

// The font keys of a window that shows a document other than the address book carry the
// document's name: "QNFontName My Cards".
QString documentKey(const QString &key, const QString &documentName);

} // namespace DefaultsKey
