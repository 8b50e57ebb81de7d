#include "panels/QRSelectionRow.h"

#include "model/LabeledEntry.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

namespace {

const QStringList ListKinds = {QStringLiteral("Phone"), QStringLiteral("Email"), QStringLiteral("Address"),
                               QStringLiteral("URL")};
const QStringList TextKinds = {QStringLiteral("Company"), QStringLiteral("Department"),
                               QStringLiteral("Job Title")};

QRSelectionRow rowFromEntry(const QString &type, const QVariantMap &entry)
{
    QRSelectionRow row;
    row.type = type;
    row.label = LabeledEntry(entry).label();
    if (type == QLatin1String("Address")) {
        row.value = entry.value(PersonKey::StringValue).toString();
        row.addressValue = entry;
    } else {
        row.value = LabeledEntry(entry).value().toString();
    }
    return row;
}

} // namespace

QList<QRSelectionRow> QRSelectionRow::rowsFromPerson(QNPerson &person)
{
    QList<QRSelectionRow> rows;
    for (const QString &type : ListKinds) {
        const QVariantList entries = person.labeledValueForIdentifier(type);
        if (entries.isEmpty()) {
            rows.append(QRSelectionRow{type, std::nullopt, QString(), false, std::nullopt});
            continue;
        }
        for (qsizetype i = 0; i < entries.size(); ++i) {
            QRSelectionRow row = rowFromEntry(type, entries.at(i).toMap());
            row.selected = i == 0 && type != QLatin1String("URL");
            rows.append(row);
        }
    }
    for (const QString &type : TextKinds)
        rows.append(
            QRSelectionRow{type, std::nullopt, person.stringValueForIdentifier(type), false, std::nullopt});
    return rows;
}

QString QRSelectionRow::title() const
{
    if (value.isEmpty())
        return QString();
    if (!ListKinds.contains(type))
        return value;
    return QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label.value_or(QString()))) +
           QStringLiteral(": ") + value;
}

int QRSelectionRow::height(int rowHeight) const
{
    const qsizetype lines = value.count(QLatin1Char('\n')) + 1;
    return lines < 2 ? rowHeight : int(lines) * (rowHeight - 2);
}
