#pragma once

#include <QString>

// The keys of the print options and the names of the print styles, as the options store them.
namespace PrintKey {

inline const QString Version = QStringLiteral("Version");
inline const QString PrintStyle = QStringLiteral("printStyle");
inline const QString UnitType = QStringLiteral("unitType");
inline const QString FontSize = QStringLiteral("fontSize");
inline const QString FontName = QStringLiteral("fontName");
inline const QString TopMargin = QStringLiteral("topMargin");
inline const QString LeftMargin = QStringLiteral("leftMargin");
inline const QString RightMargin = QStringLiteral("rightMargin");
inline const QString BottomMargin = QStringLiteral("bottomMargin");

inline const QString AddressListOptions = QStringLiteral("Address List Options");
inline const QString MailingLabelsOptions = QStringLiteral("Mailing Labels Options");
inline const QString EnvelopeOptions = QStringLiteral("Envelope Options");
inline const QString HagakiOptions = QStringLiteral("Hagaki Options");
// Read by the address-book page count only; nothing writes it.
inline const QString AddressBookOptions = QStringLiteral("Address Book Options");

// Address list.
inline const QString PrintFrame = QStringLiteral("printFrame");
inline const QString AlternatingRow = QStringLiteral("alternatingRow");
inline const QString PrintCountry = QStringLiteral("printCountry");
inline const QString ItemTable = QStringLiteral("itemTable");
inline const QString SelectedLabels = QStringLiteral("selectedLabels");
// ItemTableEntry.
inline const QString Title = QStringLiteral("Title");
inline const QString State = QStringLiteral("State");
inline const QString Enabled = QStringLiteral("Enabled");

// Mailing labels and envelopes.
inline const QString PrintFormat = QStringLiteral("printFormat");
inline const QString PrintFormatTitles = QStringLiteral("printFormatTitles");
inline const QString PrintFormatDictionary = QStringLiteral("printFormatDictionary");
inline const QString LabelHeight = QStringLiteral("labelHeight");
inline const QString LabelWidth = QStringLiteral("labelWidth");
inline const QString VGap = QStringLiteral("vGap");
inline const QString HGap = QStringLiteral("hGap");
inline const QString PrintPhone = QStringLiteral("printPhone");
inline const QString PrintCompany = QStringLiteral("printCompany");
inline const QString PrintVertical = QStringLiteral("printVertical");
inline const QString VerticalFontName = QStringLiteral("verticalFontName");
inline const QString RepeatCount = QStringLiteral("repeatCount");
inline const QString PresetArray = QStringLiteral("presetArray");
inline const QString PrintPrefix = QStringLiteral("printPrefix");
inline const QString Keishou = QStringLiteral("keishou");
inline const QString PresetName = QStringLiteral("name");
inline const QString PrintSender = QStringLiteral("printSender");
inline const QString PrintDepartment = QStringLiteral("printDepartment");
inline const QString PrintSpouse = QStringLiteral("printSpouse");
inline const QString TextDirection = QStringLiteral("textDirection");
inline const QString SenderLabel = QStringLiteral("senderLabel");
inline const QString SenderLabelIndex = QStringLiteral("senderLabelIndex");
inline const QString TextRectDict = QStringLiteral("textRectDict");

// Postcards.
inline const QString ShowBackground = QStringLiteral("showBackground");
inline const QString HagakiTypeArray = QStringLiteral("hagakiTypeArray");
inline const QString HagakiType = QStringLiteral("hagakiType");
inline const QString PrintChildren = QStringLiteral("printChildren");

// The label filter that filters nothing.
inline const QString AllLabels = QStringLiteral("All");

} // namespace PrintKey

// The print styles: the values of "printStyle" and the identifiers of the accessory's tabs.
namespace PrintStyleName {

inline const QString AddressList = QStringLiteral("Address List");
inline const QString MailingLabels = QStringLiteral("Mailing Labels");
inline const QString Envelope = QStringLiteral("Envelope");
inline const QString Hagaki = QStringLiteral("Hagaki");
inline const QString AddressBook = QStringLiteral("Address Book");

} // namespace PrintStyleName
