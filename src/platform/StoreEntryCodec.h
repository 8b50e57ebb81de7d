#pragma once

#include "platform/StoreContact.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// How the labelled lists of a contact are kept in the entry table: one row per entry with its
// kind, position, identifier, label and value text (plain text for strings, compact JSON for
// dates, postal addresses, social profiles and instant-message addresses).
namespace StoreEntryCodec {

struct Row
{
    QString identifier;
    QString label;
    QString value;
};

struct Kind
{
    int number; // the value of the entry table's kind column; never reuse one
    const QString *key;
    std::function<QList<Row>(const StoreContact &)> rowsOf;
    std::function<void(StoreContact &, const Row &)> append;
    std::function<void(StoreContact &)> clear;
};

// Every labelled list, in the order of the store keys.
const QList<Kind> &kinds();
const Kind *kindForKey(const QString &key);
const Kind *kindForNumber(int number);

QString encodeDate(const DateComponents &date);
std::optional<DateComponents> decodeDate(const QString &text);

} // namespace StoreEntryCodec
