#include "editors/ListEditorCountryMenu.h"

#include "addressbook/TextFormat.h"
#include "platform/Localizer.h"

#include <QMenu>

namespace ListEditorCountryMenu {

namespace {

QString countryName(const QVariantMap &format)
{
    const QString localized = format.value(QStringLiteral("LocalizedCountry")).toString();
    return localized.isEmpty() ? format.value(QStringLiteral("Country")).toString() : localized;
}

QString itemTitle(const QString &code, const QMap<QString, QVariantMap> &formats)
{
    return QStringLiteral("%1 (%2)").arg(code, countryName(formats.value(code)));
}

QString defaultTitle(const QString &defaultCountryCode)
{
    return TextFormat::fill(L(QStringLiteral("Default (%@)")), {defaultCountryCode});
}

} // namespace

QString title(const QString &countryCode, const QString &defaultCountryCode,
              const QMap<QString, QVariantMap> &formats)
{
    return countryCode.isEmpty() ? defaultTitle(defaultCountryCode) : itemTitle(countryCode, formats);
}

QMenu *build(const QString &defaultCountryCode, const QMap<QString, QVariantMap> &formats, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->addAction(defaultTitle(defaultCountryCode))->setData(DefaultItem);
    menu->addSeparator();
    QMap<QChar, QMenu *> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        auto *submenu = new QMenu(QString(QChar::fromLatin1(letter)), menu);
        letters.insert(QChar::fromLatin1(letter), submenu);
    }
    for (auto it = formats.cbegin(); it != formats.cend(); ++it) {
        QMenu *submenu = letters.value(it.key().isEmpty() ? QChar() : it.key().at(0).toUpper());
        if (submenu)
            submenu->addAction(itemTitle(it.key(), formats))->setData(it.key());
    }
    // A letter without countries would be an item that does nothing.
    for (QMenu *submenu : std::as_const(letters)) {
        if (!submenu->isEmpty())
            menu->addMenu(submenu);
    }
    return menu;
}

} // namespace ListEditorCountryMenu
