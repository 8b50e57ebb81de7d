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
} // namespace PersonKey

// Identifiers that the record's source files name.
namespace PersonIdentifier {
inline const QString Name = QStringLiteral("Name");
inline const QString PhoneticName = QStringLiteral("Phonetic Name");
inline const QString PhoneticFirstName = QStringLiteral("Phonetic FirstName");
inline const QString PhoneticMiddleName = QStringLiteral("Phonetic MiddleName");
inline const QString PhoneticLastName = QStringLiteral("Phonetic LastName");
inline const QString Company = QStringLiteral("Company");
inline const QString Birthday = QStringLiteral("Birthday");
} // namespace PersonIdentifier
