#pragma once

#include "platform/StoreContact.h"

#include <QFile>
#include <QString>

#include <ostream>

// Readable failure messages for the store value types.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const DateComponents &date, std::ostream *os)
{
    *os << (date.year ? std::to_string(*date.year) : std::string("----")) << '-'
        << (date.month ? std::to_string(*date.month) : std::string("--")) << '-'
        << (date.day ? std::to_string(*date.day) : std::string("--"));
}

inline void PrintTo(const StorePostalAddress &a, std::ostream *os)
{
    *os << QStringList{a.street, a.city, a.state, a.postalCode, a.country, a.isoCountryCode}
               .join(QLatin1Char('|'))
               .toStdString();
}

inline void PrintTo(const StoreSocialProfile &p, std::ostream *os)
{
    *os << QStringList{p.service, p.username, p.userIdentifier, p.urlString}
               .join(QLatin1Char('|'))
               .toStdString();
}

inline void PrintTo(const StoreInstantMessageAddress &a, std::ostream *os)
{
    *os << (a.service + QLatin1Char(':') + a.username).toStdString();
}

template <typename T> void PrintTo(const StoreLabeledValue<T> &entry, std::ostream *os)
{
    *os << '[' << entry.label.toStdString() << "] ";
    PrintTo(entry.value, os);
}

inline QByteArray readFixture(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
