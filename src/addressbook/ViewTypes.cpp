#include "addressbook/ViewTypes.h"

namespace {

QList<ViewTypes::ViewType> makeTable()
{
    const QString name = QStringLiteral("Name");
    return {
        {QStringLiteral("Name"), {name}},
        {QStringLiteral("Email"), {name, QStringLiteral("Email")}},
        {QStringLiteral("Phone"), {name, QStringLiteral("Phone")}},
        {QStringLiteral("Address"), {name, QStringLiteral("Address")}},
        {QStringLiteral("Address Detail"),
         {name, QStringLiteral("ZIP"), QStringLiteral("State"), QStringLiteral("City"),
          QStringLiteral("Street"), QStringLiteral("Country")}},
        {QStringLiteral("Instant Message"), {name, QStringLiteral("Instant Message")}},
        {QStringLiteral("Social Network"), {name, QStringLiteral("Social Network")}},
        {QStringLiteral("URL"), {name, QStringLiteral("URL")}},
        {QStringLiteral("Personal Information"),
         {name, QStringLiteral("Phonetic Name"), QStringLiteral("Nickname"), QStringLiteral("Birthday"),
          QStringLiteral("Relationship"), QStringLiteral("Suffix"), QStringLiteral("Title")}},
        {QStringLiteral("Business Information"),
         {name, QStringLiteral("Company"), QStringLiteral("Department"), QStringLiteral("Job Title")}},
        {QStringLiteral("Other"), {name, QStringLiteral("Dates"), QStringLiteral("Note")}},
        {QStringLiteral("Labeled Values"),
         {name, QStringLiteral("Phone"), QStringLiteral("Email"), QStringLiteral("Address"),
          QStringLiteral("Instant Message"), QStringLiteral("Social Network"), QStringLiteral("URL"),
          QStringLiteral("Relationship"), QStringLiteral("Dates")}},
        {QStringLiteral("Non-labeled Values"),
         {name, QStringLiteral("Phonetic Name"), QStringLiteral("Nickname"), QStringLiteral("Birthday"),
          QStringLiteral("Suffix"), QStringLiteral("Title"), QStringLiteral("Company"),
          QStringLiteral("Department"), QStringLiteral("Job Title"), QStringLiteral("Note")}},
    };
}

} // namespace

const QList<ViewTypes::ViewType> &ViewTypes::builtIn()
{
    static const QList<ViewType> table = makeTable();
    return table;
}

QStringList ViewTypes::builtInNames()
{
    QStringList names;
    for (const ViewType &type : builtIn())
        names.append(type.name);
    return names;
}

QVariantMap ViewTypes::defaultViewTypeDict()
{
    QVariantMap dict;
    for (const ViewType &type : builtIn())
        dict.insert(type.name, QVariant(type.columns).toList());
    return dict;
}

QVariantMap ViewTypes::defaultSelectedLabels()
{
    QVariantMap labels;
    for (const char *field :
         {"Email", "Phone", "Address", "URL", "Instant Message", "Social Network", "Relationship", "Dates"})
        labels.insert(QString::fromLatin1(field), QVariant(allLabels()).toList());
    return labels;
}

QStringList ViewTypes::allLabels()
{
    return {QStringLiteral("All")};
}
