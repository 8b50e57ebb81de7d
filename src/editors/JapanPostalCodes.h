#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The Japanese postal-code tables and their search, without widgets.
//
// The tables are Japan Post's residential list ("ken_all") and large-business list ("jigyosyo"):
// gzip-compressed Shift-JIS CSV, text fields in double quotes. Each is repacked into a smaller
// text that keeps only the fields the lookup reads, one line per record, tagged "K," or "J,":
// "K," + residential fields 2 to 8, or "J," + business fields 1 to 7, each field followed by a
// comma. A search is a literal scan of those texts for a quote followed by the typed digits.
namespace JapanPostalCodes {

inline const QString ResidentialTable = QStringLiteral("ken_all");
inline const QString BusinessTable = QStringLiteral("jigyosyo");

// The inflated bytes of gzip or zlib data; nullopt when they are corrupt or cut short. Empty data
// is returned as it is.
std::optional<QByteArray> inflateGzipData(const QByteArray &data);

// The repacked text of one table's CSV text. A last line without its line feed is read too; a
// line with too few fields is no record and is dropped.
QString repackPostalLines(const QString &text, const QString &tableName);

// The repacked text of a table file: empty when it cannot be inflated or decoded as Shift-JIS,
// nullopt when the file cannot be read.
std::optional<QString> loadTable(const QString &path, const QString &tableName);

// The records for a typed postal code, searched in the repacked texts in order; the first text
// with a match hides the later ones. A hyphen after the third digit is ignored.
QVariantList addressesFromZip(const QStringList &tables, const QString &zip);

// The records of repacked lines, in order; empty lines are skipped.
QVariantList dictionariesFromFindLines(const QString &lines);

// Takes the quotes off a field of at least three characters; shorter ones stay as they are.
QString stripDoublequote(const QString &text);
// "1000001" as "100-0001".
QString formatZIP(const QString &code);

} // namespace JapanPostalCodes
