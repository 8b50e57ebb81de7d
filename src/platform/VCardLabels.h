#pragma once

#include <QString>
#include <QStringList>

#include "platform/StoreLabels.h"

// The vocabulary shared by the vCard reader and writer: store labels and their TYPE words, and the
// social-profile and instant-message service names.
namespace VCardLabels {

inline const QString &Home = StoreLabel::Home;
inline const QString &Work = StoreLabel::Work;
inline const QString &Other = StoreLabel::Other;
inline const QString &IPhone = StoreLabel::PhoneNumberiPhone;
inline const QString &Mobile = StoreLabel::PhoneNumberMobile;
inline const QString &Main = StoreLabel::PhoneNumberMain;
inline const QString &HomeFax = StoreLabel::PhoneNumberHomeFax;
inline const QString &WorkFax = StoreLabel::PhoneNumberWorkFax;
inline const QString &OtherFax = StoreLabel::PhoneNumberOtherFax;
inline const QString &Pager = StoreLabel::PhoneNumberPager;
inline const QString &HomePage = StoreLabel::URLAddressHomePage;
inline const QString &Anniversary = StoreLabel::DateAnniversary;

// The properties whose labels are TYPE words.
enum class Kind
{
    Phone,
    Email,
    Address,
    Url,
    InstantMessage,
    Relation,
    Date
};

// The store label that the TYPE words of a property stand for (words compared case-insensitively;
// PREF, VOICE, INTERNET and the like are no labels). An unknown word becomes a custom label in
// lower case; no word at all gives the empty label.
QString labelFromTypes(Kind kind, const QStringList &types);

// The store label of an X-ABLabel text or TYPE word: blanks trimmed at its ends and just inside
// the store's marks ("_$!< Other>!$_" is "_$!<Other>!$_"). A marked label shows without its marks
// and is written so, and the reader trims that text: this is how it would read back. Other blanks
// stay.
QString labelFromText(const QString &text);

// The TYPE words that stand for a store label on a property, or none when the label has to be
// written as an X-ABLabel.
QStringList typesFromLabel(Kind kind, const QString &label);

// Social-profile service names: a known service in any letter case becomes its store spelling
// ("twitter" -> "Twitter"); other names stay as they are.
QString socialServiceName(const QString &name);

// Instant-message service names, likewise ("skype" -> "Skype").
QString instantMessageServiceName(const QString &name);
// The service of an IMPP URI scheme ("xmpp" -> "Jabber"); empty when the scheme names none.
QString instantMessageServiceForScheme(const QString &scheme);
// Whether an IMPP URI of that scheme can be an account of that service (xmpp: Jabber, GoogleTalk
// and Facebook).
bool schemeServes(const QString &scheme, const QString &service);
// The URI scheme written for a service; "im" (the generic instant-messaging scheme) for services
// without a scheme of their own.
QString instantMessageSchemeForService(const QString &service);
// The service of an X-<SERVICE> property name ("X-AIM" -> "AIM"); empty for other names.
QString instantMessageServiceForProperty(const QString &propertyName);

} // namespace VCardLabels
