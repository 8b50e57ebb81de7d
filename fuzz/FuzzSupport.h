#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Every target gets, before its first input (LLVMFuzzerInitialize in FuzzSupport.cpp), a core
// application and a cloud store of its own for the records' custom items.

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// A broken property: prints the first line that differs and aborts, so that libFuzzer keeps the
// input.
inline void requireEqual(const QString &first, const QString &second, const char *what)
{
    if (first == second)
        return;
    const QStringList firstLines = first.split(QLatin1Char('\n'));
    const QStringList secondLines = second.split(QLatin1Char('\n'));
    qsizetype line = 0;
    while (line < firstLines.size() && line < secondLines.size() && firstLines[line] == secondLines[line])
        ++line;
    const auto escaped = [](const QString &text) {
        return QString::fromLatin1(text.toUtf8().toPercentEncoding(" :;,.=-+@/\"\'()[]{}<>!?#$&*_|~^`"));
    };
    std::fprintf(stderr, "%s differ at line %lld:\n  first:  %s\n  second: %s\n", what,
                 static_cast<long long>(line + 1), qPrintable(escaped(firstLines.value(line))),
                 qPrintable(escaped(secondLines.value(line))));
    std::abort();
}

inline void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}
