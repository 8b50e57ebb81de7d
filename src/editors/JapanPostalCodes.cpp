#include "editors/JapanPostalCodes.h"

#include <QFile>
#include <QStringDecoder>

#include <zlib.h>

#include <algorithm>

namespace JapanPostalCodes {

namespace {

constexpr int AutoDetectGzipOrZlib = 47;

struct TableFields
{
    QChar tag;
    int first;
    int last;
};

TableFields fieldsOf(const QString &tableName)
{
    if (tableName == BusinessTable)
        return {u'J', 1, 7};
    return {u'K', 2, 8};
}

// One CSV line (its line feed included) repacked; empty when it lacks a field the lookup reads.
QString repackLine(QStringView line, const TableFields &table)
{
    if (line.endsWith(u'\n'))
        line.chop(1);
    const QList<QStringView> fields = line.split(u',');
    if (fields.size() <= table.last)
        return {};
    QString packed = table.tag + QLatin1Char(',');
    for (int i = table.first; i <= table.last; ++i) {
        packed += fields.at(i);
        packed += QLatin1Char(',');
    }
    packed += QLatin1Char('\n');
    return packed;
}

QString field(const QList<QStringView> &fields, int index)
{
    return stripDoublequote(fields.at(index).toString());
}

QVariantMap residentialRecord(const QList<QStringView> &fields)
{
    return {{"ZIP", formatZIP(field(fields, 1))}, {"PhoneticCity", field(fields, 3)},
            {"PhoneticStreet", field(fields, 4)}, {"State", field(fields, 5)},
            {"City", field(fields, 6)},           {"Street", field(fields, 7)},
            {"Company", QString()}};
}

QVariantMap businessRecord(const QList<QStringView> &fields)
{
    return {{"PhoneticCompany", field(fields, 1)},
            {"Company", field(fields, 2)},
            {"State", field(fields, 3)},
            {"City", field(fields, 4)},
            {"Street", field(fields, 5) + field(fields, 6)},
            {"ZIP", formatZIP(field(fields, 7))},
            {"PhoneticCity", QString()},
            {"PhoneticStreet", QString()}};
}

QString searchKey(QString zip)
{
    if (zip.size() >= 4 && zip.at(3) == u'-')
        zip.remove(3, 1);
    return QLatin1Char('"') + zip;
}

// The lines of one repacked text that hold the key at the start of a quoted number.
QString findLines(const QString &text, const QString &key)
{
    const bool wholeCode = key.size() == 8;
    QString found;
    qsizetype from = 0;
    while (true) {
        const qsizetype hit = text.indexOf(key, from);
        if (hit < 0)
            break;
        const qsizetype after = hit + key.size();
        qsizetype lineEnd = text.indexOf(u'\n', after);
        lineEnd = lineEnd < 0 ? text.size() : lineEnd + 1;
        if (after < text.size()) {
            const QChar next = text.at(after);
            const bool digit = next >= u'0' && next <= u'9';
            if (digit || (next == u'"' && wholeCode)) {
                const qsizetype lineStart = hit == 0 ? 0 : text.lastIndexOf(u'\n', hit - 1) + 1;
                found += QStringView(text).mid(lineStart, lineEnd - lineStart);
            }
        }
        from = lineEnd;
    }
    return found;
}

} // namespace

std::optional<QByteArray> inflateGzipData(const QByteArray &data)
{
    if (data.isEmpty())
        return data;
    const qsizetype growth = std::max<qsizetype>(1, data.size() / 2);
    QByteArray out(data.size() + growth, Qt::Uninitialized);

    z_stream stream{};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    if (inflateInit2(&stream, AutoDetectGzipOrZlib) != Z_OK)
        return std::nullopt;

    int status = Z_OK;
    while (status == Z_OK) {
        if (static_cast<qsizetype>(stream.total_out) >= out.size())
            out.resize(out.size() + growth);
        stream.next_out = reinterpret_cast<Bytef *>(out.data()) + stream.total_out;
        stream.avail_out = static_cast<uInt>(out.size() - static_cast<qsizetype>(stream.total_out));
        status = inflate(&stream, Z_SYNC_FLUSH);
    }
    const qsizetype produced = static_cast<qsizetype>(stream.total_out);
    if (inflateEnd(&stream) != Z_OK || status != Z_STREAM_END)
        return std::nullopt;
    out.truncate(produced);
    return out;
}

QString repackPostalLines(const QString &text, const QString &tableName)
{
    const TableFields table = fieldsOf(tableName);
    QString packed;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        end = end < 0 ? text.size() : end + 1;
        packed += repackLine(QStringView(text).mid(start, end - start), table);
        start = end;
    }
    packed.squeeze();
    return packed;
}

std::optional<QString> loadTable(const QString &path, const QString &tableName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<QByteArray> csv = inflateGzipData(file.readAll());
    if (!csv)
        return QString();
    QStringDecoder decoder("Shift_JIS", QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(*csv);
    if (!decoder.isValid() || decoder.hasError())
        return QString();
    return repackPostalLines(text, tableName);
}

QVariantList addressesFromZip(const QStringList &tables, const QString &zip)
{
    const QString key = searchKey(zip);
    for (const QString &text : tables) {
        if (text.isEmpty())
            continue;
        const QString lines = findLines(text, key);
        if (!lines.isEmpty())
            return dictionariesFromFindLines(lines);
    }
    return {};
}

QVariantList dictionariesFromFindLines(const QString &lines)
{
    QVariantList records;
    for (QStringView line : QStringView(lines).split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> fields = line.split(u',');
        if (fields.size() < 8)
            continue;
        records.append(fields.at(0) == u"J" ? businessRecord(fields) : residentialRecord(fields));
    }
    return records;
}

QString stripDoublequote(const QString &text)
{
    if (text.size() < 3)
        return text;
    QString stripped = text;
    if (stripped.startsWith(u'"'))
        stripped.remove(0, 1);
    if (stripped.endsWith(u'"'))
        stripped.chop(1);
    return stripped;
}

QString formatZIP(const QString &code)
{
    if (code.size() < 3)
        return code;
    return code.left(3) + QLatin1Char('-') + code.mid(3);
}

} // namespace JapanPostalCodes
