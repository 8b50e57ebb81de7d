#pragma once

#include "model/QNPerson.h"

#include <QMenu>

// The country menu of the address editors: "Default (code)" for the contact's default country,
// then the letters A to Z, each with a submenu of the countries whose code starts with it. An
// item's data is its country code, "Default" for the default item; a letter without countries has
// no data and chooses nothing.
class AddressCountryMenu : public QMenu
{
    Q_OBJECT

public:
    static inline const QString DefaultCode = QStringLiteral("Default");

    AddressCountryMenu(const QString &defaultCountryCode, const QNPerson::AddressFormatDict &formats,
                       QWidget *parent = nullptr);

    // "Default (JP)".
    static QString defaultTitle(const QString &defaultCountryCode);
    // "JP (Japan)", with the country's name in the user's language where the table has it.
    static QString countryTitle(const QString &code, const QNPerson::AddressFormatEntry &entry);
    // The country's name for the address itself: "Country." + language, else "Country".
    static QString countryName(const QNPerson::AddressFormatEntry &entry, const QString &languageCode);

    // The action of a code ("Default" included); null when the menu has none.
    QAction *actionForCode(const QString &code) const;

signals:
    // code is a country code or DefaultCode; title is the chosen item's.
    void countryChosen(const QString &code, const QString &title);

private:
    QMenu *letterMenu(QChar letter);
    void addCountry(QMenu *menu, const QString &code, const QString &title);

    QList<QMenu *> m_letters;
};
