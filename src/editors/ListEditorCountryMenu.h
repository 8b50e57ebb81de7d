#pragma once

#include <QMap>
#include <QString>
#include <QVariantMap>

class QMenu;
class QWidget;

// The country menu of an address row in the list editor: the row's country as its title,
// "Default", then the countries of the address-format table under their first letter.
namespace ListEditorCountryMenu {

// The item data of the "Default" item, which takes the row's country code away.
inline const QString DefaultItem = QStringLiteral("Default");

// "JP (Japan)" for a code, "Default (JP)" without one.
QString title(const QString &countryCode, const QString &defaultCountryCode,
              const QMap<QString, QVariantMap> &formats);
// Items carry a country code, or DefaultItem, as data; letters without countries are left out.
QMenu *build(const QString &defaultCountryCode, const QMap<QString, QVariantMap> &formats, QWidget *parent);

} // namespace ListEditorCountryMenu
