#include "print/AddressBlockText.h"

#include "model/QNPersonKeys.h"
#include "print/OptionValue.h"
#include "print/PrintKeys.h"

namespace AddressBlockText {

namespace {

const QString Suffix = QStringLiteral("Suffix");
const QString Address = QStringLiteral("Address");
const QString StateAndCity = QStringLiteral("State&City");

QString nameLine(QNPerson &person, const Options &options)
{
    QString name = person.valueForIdentifier(PersonIdentifier::Name).toMap().value(PersonKey::StringValue).toString();
    const QString suffix = person.stringValueForIdentifier(Suffix);
    if (options.printPrefix && !suffix.isEmpty())
        name = suffix + QLatin1Char(' ') + name;
    if (!options.keishou.isEmpty())
        name += QLatin1Char(' ') + options.keishou;
    return name;
}

QString partsText(const QNPerson::AddressDict &entry, bool printCountry)
{
    auto part = [&](const QString &key) { return entry.value(key).toString(); };
    QString text;
    if (!part(PersonKey::ZIP).isEmpty())
        text += part(PersonKey::ZIP) + QLatin1Char(' ');
    if (printCountry && !part(PersonKey::Country).isEmpty())
        text += part(PersonKey::Country) + QLatin1Char(' ');
    if (!part(StateAndCity).isEmpty())
        text += part(StateAndCity);
    else
        text += part(PersonKey::State) + part(PersonKey::City);
    text += QLatin1Char('\n');
    if (!part(PersonKey::Street).isEmpty())
        text += part(PersonKey::Street) + QLatin1Char('\n');
    return text;
}

} // namespace

Options Options::from(const QVariantMap &styleOptions)
{
    return {OptionValue::toBool(styleOptions.value(PrintKey::PrintCompany)),
            OptionValue::toBool(styleOptions.value(PrintKey::PrintCountry)),
            OptionValue::toBool(styleOptions.value(PrintKey::PrintPrefix)),
            styleOptions.value(PrintKey::Keishou).toString()};
}

QString addressText(const QNPerson::AddressDict &entry, bool printCountry)
{
    const QString formatted = entry.value(PersonKey::FormattedString).toString();
    if (!formatted.isEmpty())
        return formatted + QLatin1Char('\n');
    const QString oneLine = entry.value(PersonKey::StringValue).toString();
    if (!oneLine.isEmpty())
        return oneLine + QLatin1Char('\n');
    return partsText(entry, printCountry);
}

QString makeAdrsAndNameString(const SubContactRow &row, const Options &options)
{
    if (!row.person)
        return {};
    QNPerson &person = *row.person;
    QString text;
    if (auto entry = person.labeledValueForIdentifierAtIndex(Address, row.labelIndex)) {
        QNPerson::updateAddressValue(*entry, options.printCountry ? 1 : 0);
        text = addressText(*entry, options.printCountry);
    }
    const QString company = person.stringValueForIdentifier(PersonIdentifier::Company);
    if (options.printCompany && !company.isEmpty())
        text += company + QLatin1Char('\n');
    text += nameLine(person, options);
    return text;
}

} // namespace AddressBlockText
