#pragma once

#include "platform/StoreContact.h"

#include <QString>

// Label, service and key texts of the contacts store, and their display names. The values are
// the ones that store labels carry in vCard files in the wild, so they survive a round trip.
// The dictionary keys of social profiles, instant-message and postal addresses are in
// StoreValueKey (StoreContact.h).

namespace StoreLabel {
inline const QString Home = QStringLiteral("_$!<Home>!$_");
inline const QString Work = QStringLiteral("_$!<Work>!$_");
inline const QString Other = QStringLiteral("_$!<Other>!$_");

inline const QString PhoneNumberiPhone = QStringLiteral("iPhone");
inline const QString PhoneNumberMobile = QStringLiteral("_$!<Mobile>!$_");
inline const QString PhoneNumberMain = QStringLiteral("_$!<Main>!$_");
inline const QString PhoneNumberHomeFax = QStringLiteral("_$!<HomeFAX>!$_");
inline const QString PhoneNumberWorkFax = QStringLiteral("_$!<WorkFAX>!$_");
inline const QString PhoneNumberOtherFax = QStringLiteral("_$!<OtherFAX>!$_");
inline const QString PhoneNumberPager = QStringLiteral("_$!<Pager>!$_");

inline const QString URLAddressHomePage = QStringLiteral("_$!<HomePage>!$_");

inline const QString DateAnniversary = QStringLiteral("_$!<Anniversary>!$_");

inline const QString ContactRelationFather = QStringLiteral("_$!<Father>!$_");
inline const QString ContactRelationMother = QStringLiteral("_$!<Mother>!$_");
inline const QString ContactRelationParent = QStringLiteral("_$!<Parent>!$_");
inline const QString ContactRelationBrother = QStringLiteral("_$!<Brother>!$_");
inline const QString ContactRelationSister = QStringLiteral("_$!<Sister>!$_");
inline const QString ContactRelationChild = QStringLiteral("_$!<Child>!$_");
inline const QString ContactRelationFriend = QStringLiteral("_$!<Friend>!$_");
inline const QString ContactRelationSpouse = QStringLiteral("_$!<Spouse>!$_");
inline const QString ContactRelationPartner = QStringLiteral("_$!<Partner>!$_");
inline const QString ContactRelationAssistant = QStringLiteral("_$!<Assistant>!$_");
inline const QString ContactRelationManager = QStringLiteral("_$!<Manager>!$_");
// The store has no constants for these two, but writes them in this form.
inline const QString ContactRelationSon = QStringLiteral("_$!<Son>!$_");
inline const QString ContactRelationDaughter = QStringLiteral("_$!<Daughter>!$_");

// The display text of a store label, as the store shows it: the known labels in readable English
// through the Localizer, other wrapped words unwrapped, anything else unchanged.
QString localizedString(const QString &label);
} // namespace StoreLabel

namespace StoreSocialService {
inline const QString Twitter = QStringLiteral("Twitter");
inline const QString Facebook = QStringLiteral("Facebook");
inline const QString Flickr = QStringLiteral("Flickr");
inline const QString LinkedIn = QStringLiteral("LinkedIn");
inline const QString Yelp = QStringLiteral("Yelp");
inline const QString MySpace = QStringLiteral("MySpace");
inline const QString SinaWeibo = QStringLiteral("SinaWeibo");
inline const QString TencentWeibo = QStringLiteral("TencentWeibo");
inline const QString GameCenter = QStringLiteral("GameCenter");
} // namespace StoreSocialService

namespace StoreIMService {
inline const QString AIM = QStringLiteral("AIM");
inline const QString Facebook = QStringLiteral("Facebook");
inline const QString GaduGadu = QStringLiteral("GaduGadu");
inline const QString GoogleTalk = QStringLiteral("GoogleTalk");
inline const QString ICQ = QStringLiteral("ICQ");
inline const QString Jabber = QStringLiteral("Jabber");
inline const QString MSN = QStringLiteral("MSN");
inline const QString QQ = QStringLiteral("QQ");
inline const QString Skype = QStringLiteral("Skype");
inline const QString Yahoo = QStringLiteral("Yahoo");
} // namespace StoreIMService

// The service texts of the older address-book format, which CSV files written by it carry. They
// are lower case and differ from StoreSocialService.
namespace AddressBookSocialService {
inline const QString Twitter = QStringLiteral("twitter");
inline const QString Facebook = QStringLiteral("facebook");
inline const QString Flickr = QStringLiteral("flickr");
inline const QString LinkedIn = QStringLiteral("linkedin");
inline const QString MySpace = QStringLiteral("myspace");
inline const QString Yelp = QStringLiteral("yelp");
inline const QString SinaWeibo = QStringLiteral("sinaweibo");
inline const QString TencentWeibo = QStringLiteral("tencentweibo");
inline const QString GameCenter = QStringLiteral("gamecenter");
} // namespace AddressBookSocialService

namespace StoreKey {
// The display name of a contact key ("Phone" for phoneNumbers); the empty string for unknown keys.
QString localizedString(const QString &key);
} // namespace StoreKey

namespace StoreValueKey {
// The display name of a postal-address, social-profile or instant-message key ("ZIP" for
// postalCode); the empty string for unknown keys.
QString localizedString(const QString &key);
} // namespace StoreValueKey
