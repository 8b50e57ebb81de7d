#pragma once

#include <QString>
#include <QStringList>

// The vocabulary shared by the vCard reader and writer: store labels and their TYPE words, and the
// social-profile and instant-message service names.
// TODO: take the label and service strings from the shared store-label constants once they exist.
namespace VCardLabels {

inline const QString Home = QStringLiteral("_$!<Home>!$_");
inline const QString Work = QStringLiteral("_$!<Work>!$_");
inline const QString Other = QStringLiteral("_$!<Other>!$_");
inline const QString IPhone = QStringLiteral("iPhone");
inline const QString Mobile = QStringLiteral("_$!<Mobile>!$_");
inline const QString Main = QStringLiteral("_$!<Main>!$_");
inline const QString HomeFax = QStringLiteral("_$!<HomeFAX>!$_");
inline const QString WorkFax = QStringLiteral("_$!<WorkFAX>!$_");
inline const QString OtherFax = QStringLiteral("_$!<OtherFAX>!$_");
inline const QString Pager = QStringLiteral("_$!<Pager>!$_");
inline const QString HomePage = QStringLiteral("_$!<HomePage>!$_");
inline const QString Anniversary = QStringLiteral("_$!<Anniversary>!$_");

// The properties whose labels are TYPE words.
enum class Kind
{
    Phone,
    Email,
    Address,
    Url,
    InstantMessage,
    Relation
};

// The store label that the TYPE words of a property stand for (words compared case-insensitively;
// PREF, VOICE, INTERNET and the like are no labels). An unknown word becomes a custom label in
// lower case; no word at all gives the empty label.
QString labelFromTypes(Kind kind, const QStringList &types);

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
// The URI scheme written for a service; "im" (the generic instant-messaging scheme) for services
// without a scheme of their own.
QString instantMessageSchemeForService(const QString &service);
// The service of an X-<SERVICE> property name ("X-AIM" -> "AIM"); empty for other names.
QString instantMessageServiceForProperty(const QString &propertyName);

} // namespace VCardLabels
