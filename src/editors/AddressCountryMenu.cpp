#include "editors/AddressCountryMenu.h"

#include "addressbook/TextFormat.h"
#include "platform/Localizer.h"

namespace {

const QString CountryKey = QStringLiteral("Country");
const QString LocalizedCountryKey = QStringLiteral("LocalizedCountry");

} // namespace

AddressCountryMenu::AddressCountryMenu(const QString &defaultCountryCode,
                                       const QNPerson::AddressFormatDict &formats, QWidget *parent)
    : QMenu(parent)
{
    addCountry(this, DefaultCode, defaultTitle(defaultCountryCode));
    addSeparator();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        auto *menu = addMenu(QString(QLatin1Char(letter)));
        m_letters.append(menu);
    }
    for (auto it = formats.cbegin(); it != formats.cend(); ++it) {
        if (it.key().isEmpty())
            continue;
        QMenu *menu = letterMenu(it.key().at(0));
        if (!menu)
            continue;
        addCountry(menu, it.key(), countryTitle(it.key(), it.value()));
    }
}

QString AddressCountryMenu::defaultTitle(const QString &defaultCountryCode)
{
    return TextFormat::fill(L(QStringLiteral("Default (%@)")), {defaultCountryCode});
}

QString AddressCountryMenu::countryTitle(const QString &code, const QNPerson::AddressFormatEntry &entry)
{
    QString name = entry.value(LocalizedCountryKey).toString();
    if (name.isEmpty())
        name = entry.value(CountryKey).toString();
    return TextFormat::fill(QStringLiteral("%@ (%@)"), {code, name});
}

QString AddressCountryMenu::countryName(const QNPerson::AddressFormatEntry &entry, const QString &languageCode)
{
    const QString name = entry.value(CountryKey + QLatin1Char('.') + languageCode).toString();
    return name.isEmpty() ? entry.value(CountryKey).toString() : name;
}

QAction *AddressCountryMenu::actionForCode(const QString &code) const
{
    const QList<QAction *> actions = findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->data().toString() == code)
            return action;
    }
    return nullptr;
}

QMenu *AddressCountryMenu::letterMenu(QChar letter)
{
    const int index = letter.unicode() - u'A';
    return index >= 0 && index < m_letters.size() ? m_letters.at(index) : nullptr;
}

void AddressCountryMenu::addCountry(QMenu *menu, const QString &code, const QString &title)
{
    QAction *action = menu->addAction(title);
    action->setData(code);
    connect(action, &QAction::triggered, this, [this, code, title] { emit countryChosen(code, title); });
}
