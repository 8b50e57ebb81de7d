#pragma once

#include "platform/StoreContact.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// How the labelled lists of a contact are kept in the entry table: one row per entry with its
// kind, position, identifier, label and value text (plain text for strings, compact JSON for
// dates, postal addresses, social profiles and instant-message addresses).
class StoreTextPool;

namespace StoreEntryCodec {

struct Row
{
    QString identifier;
    QString label;
    QString value;
};

// One entry row as a read steps over it: its texts in UTF-8, valid until the next step.
struct StoredRow
{
    QByteArrayView identifier;
    QByteArrayView label;
    QByteArrayView value;
};

struct Kind
{
    int number; // the value of the entry table's kind column; never reuse one
    const QString *key;
    std::function<QList<Row>(const StoreContact &)> rowsOf;
    // Appends the entry of a stored row; its label comes from the read's pool.
    std::function<void(StoreContact &, const StoredRow &, StoreTextPool &)> append;
    std::function<void(StoreContact &)> clear;
};

// Every labelled list, in the order of the store keys.
const QList<Kind> &kinds();
const Kind *kindForKey(const QString &key);
const Kind *kindForNumber(int number);

QString encodeDate(const DateComponents &date);
// None when the UTF-8 text is not an object.
std::optional<DateComponents> decodeDate(QByteArrayView utf8);

} // namespace StoreEntryCodec
