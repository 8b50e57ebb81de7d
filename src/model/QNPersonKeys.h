#pragma once

#include <QString>

// Keys and fixed words of the record's value dictionaries, shared by the record's source files and
// by anyone who builds or reads those dictionaries.
namespace PersonKey {
inline const QString Label = QStringLiteral("label");
inline const QString CNLabel = QStringLiteral("cnlabel");
inline const QString Value = QStringLiteral("value");
inline const QString StringValue = QStringLiteral("stringValue");
inline const QString LabelIndex = QStringLiteral("labelIndex");

// Own keys of the kinds (social profiles and instant messages use StoreValueKey's).
inline const QString PhoneNumber = QStringLiteral("phoneNumber");
inline const QString Username = QStringLiteral("username");
inline const QString Domain = QStringLiteral("domain");
inline const QString SocialProfile = QStringLiteral("socialProfile");
inline const QString InstantMessageAddress = QStringLiteral("instantMessageAddress");
inline const QString ContactRelation = QStringLiteral("contactRelation");

// AddressDict.
inline const QString Street = QStringLiteral("Street");
inline const QString City = QStringLiteral("City");
inline const QString State = QStringLiteral("State");
inline const QString ZIP = QStringLiteral("ZIP");
inline const QString Country = QStringLiteral("Country");
inline const QString PostalAddress = QStringLiteral("postalAddress");
inline const QString PredictCountryCode = QStringLiteral("PredictCountryCode");
inline const QString FormattedString = QStringLiteral("formattedString");

// NameDict and PhoneticNameDict.
inline const QString FirstName = QStringLiteral("FirstName");
inline const QString MiddleName = QStringLiteral("MiddleName");
inline const QString LastName = QStringLiteral("LastName");
inline const QString PreviousFamilyName = QStringLiteral("PreviousFamilyName");
inline const QString NameOrdering = QStringLiteral("nameOrdering");
inline const QString ShowAsPerson = QStringLiteral("showAsPerson");

// Date components.
inline const QString Year = QStringLiteral("year");
inline const QString Month = QStringLiteral("month");
inline const QString Day = QStringLiteral("day");

// Display words that stand in for a missing label or service; never store text.
inline const QString NoLabel = QStringLiteral("No label");
inline const QString NoService = QStringLiteral("No service");
inline const QString NoName = QStringLiteral("No Name");

// CustomItemDict, one custom-item definition.
inline const QString ItemName = QStringLiteral("Name");
inline const QString ItemType = QStringLiteral("Type");
inline const QString ItemLabels = QStringLiteral("Labels");
inline const QString ItemImageData = QStringLiteral("ImageData");
inline const QString ItemImageIcon = QStringLiteral("ImageIcon");
// Editing flags that the custom-item sheet puts on its working copies.
inline const QString ItemNew = QStringLiteral("new");
inline const QString ItemChanged = QStringLiteral("changed");
inline const QString ItemDeleted = QStringLiteral("deleted");
} // namespace PersonKey

// Value types of identifiers and custom items.
namespace PersonValueType {
inline const QString Labeled = QStringLiteral("Labeled Value");
inline const QString String = QStringLiteral("String Value");
inline const QString Dictionary = QStringLiteral("Dictionary Value");
} // namespace PersonValueType

// Identifiers that the record's source files name.
namespace PersonIdentifier {
inline const QString Name = QStringLiteral("Name");
inline const QString PhoneticName = QStringLiteral("Phonetic Name");
inline const QString PhoneticFirstName = QStringLiteral("Phonetic FirstName");
inline const QString PhoneticMiddleName = QStringLiteral("Phonetic MiddleName");
inline const QString PhoneticLastName = QStringLiteral("Phonetic LastName");
inline const QString Company = QStringLiteral("Company");
inline const QString Birthday = QStringLiteral("Birthday");
inline const QString Photo = QStringLiteral("Photo");
// Reading only: the small image of the photo.
inline const QString Thumbnail = QStringLiteral("thumbnail");
inline const QString CompositeName = QStringLiteral("compositeName");
// Rows of the views that hold no value of the record.
inline const QString Groups = QStringLiteral("Groups");
inline const QString NameOrdering = QStringLiteral("Name Ordering");
inline const QString NameDisplay = QStringLiteral("Name Display");
} // namespace PersonIdentifier
