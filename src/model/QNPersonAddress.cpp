#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/PostalAddressFormatter.h"

#include <QHash>
#include <QMutex>

namespace {

// Answers of predictCountryCode for one address-format table: an import predicts the same few
// country names thousands of times, each a walk through the whole table. The table is held, so
// the same data pointer means the same table.
struct CountryPredictions
{
    QMutex mutex;
    QNPerson::AddressFormatTable table;
    QHash<QString, QString> codes;
};

CountryPredictions &countryPredictions()
{
    static CountryPredictions predictions;
    return predictions;
}

const QStringList DefaultOrder = {PersonKey::Street, PersonKey::City, PersonKey::State, PersonKey::ZIP,
                                  PersonKey::Country};

// The entry's code, else the one predicted from its country name, else the user's.
QString countryCodeOfAddress(const QNPerson::AddressDict &entry, std::optional<QString> *prediction)
{
    QString code = entry.value(StoreValueKey::ISOCountryCode).toString();
    const QString country = entry.value(PersonKey::Country).toString();
    if (code.isEmpty() && !country.isEmpty()) {
        code = QNPerson::predictCountryCode(country.toUpper());
        if (prediction)
            *prediction = code;
    }
    return code;
}

QString textOfPart(const QNPerson::AddressDict &entry, const QString &token, int option)
{
    if (token == PersonKey::Country)
        return option == 1 ? entry.value(token).toString() : QString();
    if (token == PersonKey::Street || token == PersonKey::City || token == PersonKey::State ||
        token == PersonKey::ZIP)
        return entry.value(token).toString();
    return QString();
}

QString predictedCountryCode(const QNPerson::AddressFormatTable &table, const QString &country)
{
    const auto codeWhere = [&table, &country](const QString &key) -> std::optional<QString> {
        for (const QNPerson::AddressFormatEntry &entry : table) {
            if (entry.value(key).toString() == country)
                return entry.value(QStringLiteral("CountryCode")).toString();
        }
        return std::nullopt;
    };
    for (const QString &key :
         {QStringLiteral("Country"), QStringLiteral("CountryCode"), QStringLiteral("Alpha3")}) {
        if (const std::optional<QString> code = codeWhere(key))
            return *code;
    }
    if (country == QStringLiteral("日本"))
        return QStringLiteral("JP");
    if (country.toLower() == QStringLiteral("française"))
        return QStringLiteral("FR");
    return codeWhere(QStringLiteral("LocalizedCountry")).value_or(QString());
}

} // namespace

QString QNPerson::predictCountryCode(const QString &country)
{
    const AddressFormatTable table = addressFormatTable();
    CountryPredictions &predictions = countryPredictions();
    {
        QMutexLocker lock(&predictions.mutex);
        if (predictions.table.constData() != table.constData() || predictions.table.size() != table.size()) {
            predictions.table = table;
            predictions.codes.clear();
        }
        const auto known = predictions.codes.constFind(country);
        if (known != predictions.codes.constEnd())
            return *known;
    }
    const QString code = predictedCountryCode(table, country);
    QMutexLocker lock(&predictions.mutex);
    if (predictions.table.constData() == table.constData())
        predictions.codes.insert(country, code);
    return code;
}

QStringList QNPerson::orderOfAddressFormats(const QString &countryCode, const QString &)
{
    QStringList order{countryCode};
    const AddressFormatDict formats = addressFormatDict();
    const auto entry = formats.constFind(countryCode.toUpper());
    if (entry != formats.constEnd())
        order += entry->value(QStringLiteral("Order")).toStringList();
    if (order.size() == 1)
        order += DefaultOrder;
    return order;
}

void QNPerson::updateAddressValue(AddressDict &entry, int option)
{
    if (entry.value(PersonKey::Label).toString().isEmpty())
        entry.insert(PersonKey::Label, PersonKey::NoLabel);
    std::optional<QString> prediction;
    QString code = countryCodeOfAddress(entry, &prediction);
    if (prediction)
        entry.insert(PersonKey::PredictCountryCode, *prediction);
    if (code.isEmpty())
        code = ContactsUserDefaults::countryCode().toUpper();
    const QStringList order = orderOfAddressFormats(code, entry.value(PersonKey::Country).toString());

    StorePostalAddress address;
    address.street = entry.value(PersonKey::Street).toString();
    address.city = entry.value(PersonKey::City).toString();
    address.state = entry.value(PersonKey::State).toString();
    address.postalCode = entry.value(PersonKey::ZIP).toString();
    address.country = option == 1 ? entry.value(PersonKey::Country).toString() : QString();
    address.isoCountryCode = code;
    const QString formatted = PostalAddressFormatter::stringFromPostalAddress(address, order.mid(1));
    entry.insert(PersonKey::FormattedString, formatted);

    QString text;
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QString part = textOfPart(entry, order[i], option);
        if (!part.isEmpty())
            text += part + QLatin1Char(' ');
    }
    entry.insert(PersonKey::StringValue, text.isEmpty() ? formatted : text);
}

QList<QNPerson::AddressPartRange> QNPerson::rangeTableFromAddressLabeledValue(const AddressDict &entry)
{
    QString code = countryCodeOfAddress(entry, nullptr);
    if (code.isEmpty())
        code = ContactsUserDefaults::countryCode().toUpper();
    const QStringList order = orderOfAddressFormats(code, entry.value(PersonKey::Country).toString());
    QList<AddressPartRange> ranges;
    qsizetype location = 0;
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QString part = entry.value(order[i]).toString();
        AddressPartRange range{order[i], QString(), location, 0};
        if (!part.isEmpty()) {
            range.value = part + QLatin1Char(' ');
            range.length = range.value.size();
        }
        location += range.length;
        ranges.append(range);
    }
    return ranges;
}
