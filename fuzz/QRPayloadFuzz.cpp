// The QR payload builders: whatever the values hold, none starts a property of its own.
#include "FuzzSupport.h"

#include "model/QNPersonKeys.h"
#include "panels/QRPayload.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// The input's fields, separated by 0x01 bytes; missing ones are empty.
struct Fields
{
    QStringList parts;
    QString at(int index) const { return parts.value(index); }
};

QRContactValues contactOf(const Fields &fields)
{
    QRContactValues contact;
    contact.name = fields.at(0);
    contact.firstName = fields.at(1);
    contact.lastName = fields.at(2);
    contact.phoneticFirstName = fields.at(3);
    contact.phoneticLastName = fields.at(4);
    contact.phonetic = fields.at(5);
    contact.company = fields.at(6);
    contact.department = fields.at(7);
    contact.jobTitle = fields.at(8);
    return contact;
}

QList<QRSelectionRow> rowsOf(const Fields &fields)
{
    QVariantMap address{{PersonKey::Street, fields.at(12)}, {PersonKey::City, fields.at(13)},
                        {PersonKey::ZIP, fields.at(14)}, {PersonKey::Country, fields.at(15)}};
    return {
        {QStringLiteral("Phone"), fields.at(9), fields.at(10), true, std::nullopt},
        {QStringLiteral("Email"), QStringLiteral("work"), fields.at(11), true, std::nullopt},
        {QStringLiteral("Address"), QStringLiteral("home"), fields.at(12) + fields.at(13), true, address},
        {QStringLiteral("URL"), std::nullopt, fields.at(16), true, std::nullopt},
        {QStringLiteral("Company"), std::nullopt, fields.at(6), true, std::nullopt},
        {QStringLiteral("Department"), std::nullopt, fields.at(7), true, std::nullopt},
        {QStringLiteral("Job Title"), std::nullopt, fields.at(8), true, std::nullopt},
    };
}

// Each line starts with one of the keys.
void requireLines(const QStringList &lines, const QSet<QString> &keys, const char *format)
{
    static const QRegularExpression start(QStringLiteral("^([A-Z0-9-]+)[;:]"));
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = start.match(line);
        if (!match.hasMatch() || !keys.contains(match.captured(1))) {
            std::fprintf(stderr, "%s line starts a property of its own: %s\n", format, qPrintable(line));
            std::abort();
        }
    }
}

void checkVCard(const QString &payload)
{
    QStringList lines = payload.split(QStringLiteral("\r\n"));
    require(lines.takeLast().isEmpty(), "the vCard ends with CR LF");
    for (const QString &line : std::as_const(lines))
        require(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')), "no bare line break");
    require(lines.first() == QLatin1String("BEGIN:VCARD") && lines.last() == QLatin1String("END:VCARD"),
            "one card");
    requireLines(lines, {"BEGIN", "VERSION", "FN", "N", "X-PHONETIC-FIRST-NAME", "X-PHONETIC-LAST-NAME", "ORG",
                         "TITLE", "TEL", "EMAIL", "ADR", "URL", "END"},
                 "vCard");
}

// MECARD: the parts between unescaped semicolons, each a known key at most once.
void checkMecard(const QString &payload)
{
    require(payload.startsWith(QLatin1String("MECARD:")), "MECARD prefix");
    QStringList parts;
    QString part;
    for (qsizetype i = 7; i < payload.size(); ++i) {
        const QChar c = payload.at(i);
        if (c == QLatin1Char('\\') && i + 1 < payload.size()) {
            part += c;
            part += payload.at(++i);
        } else if (c == QLatin1Char(';')) {
            parts.append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    require(part.isEmpty(), "MECARD ends with a semicolon");
    requireLines(parts, {"N", "SOUND", "TEL", "EMAIL", "ADR"}, "MECARD");
    QSet<QString> seen;
    for (const QString &each : std::as_const(parts)) {
        const QString key = each.section(QLatin1Char(':'), 0, 0);
        require(!seen.contains(key), "each MECARD key once");
        seen.insert(key);
    }
}

void checkMemory(const QString &payload)
{
    QStringList lines = payload.split(QLatin1Char('\n'));
    require(lines.takeFirst() == QLatin1String("MEMORY:"), "MEMORY prefix");
    require(lines.takeLast().isEmpty(), "MEMORY ends with a line feed");
    requireLines(lines, {"NAME1", "NAME2", "TEL1", "MAIL1", "ADD"}, "MEMORY");
    require(lines.size() <= 5, "each MEMORY key once");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Fields fields{QString::fromUtf8(fuzzBytes(data, size)).split(QChar(1))};
    const QRContactValues contact = contactOf(fields);
    const QList<QRSelectionRow> rows = rowsOf(fields);
    checkVCard(QRPayload::payload(QRFormat::VCard, contact, rows));
    checkMecard(QRPayload::payload(QRFormat::Docomo, contact, rows));
    checkMemory(QRPayload::payload(QRFormat::Au, contact, rows));
    checkMemory(QRPayload::payload(QRFormat::SoftBank, contact, rows));
    for (const QRFormat format : {QRFormat::Phone, QRFormat::Email, QRFormat::URL}) {
        const QString uri = QRPayload::payload(format, contact, rows);
        require(!uri.contains(QLatin1Char('\n')) && !uri.contains(QLatin1Char('\r')), "a URI is one line");
    }
    return 0;
}
