#include "grid/GridTextParser.h"

#include "addressbook/DetailFieldOrder.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/StoreContact.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// A labelled value made from a field: its label and, for accounts, the service it is on.
struct LabeledForm
{
    QString label;
    QString service;
};

const QHash<QString, LabeledForm> &labeledForms()
{
    static const QHash<QString, LabeledForm> forms{
        {QStringLiteral("Phone"), {QStringLiteral("home"), {}}},
        {QStringLiteral("Email"), {QStringLiteral("home"), {}}},
        {QStringLiteral("URL"), {QStringLiteral("homePage"), {}}},
        {QStringLiteral("Relationship"), {QStringLiteral("partner"), {}}},
        {QStringLiteral("Social Network"), {QStringLiteral("home"), QStringLiteral("Twitter")}},
        {QStringLiteral("Instant Message"), {QStringLiteral("home"), QStringLiteral("AIM")}},
    };
    return forms;
}

bool takesField(const QString &identifier)
{
    return identifier == PersonIdentifier::Name || identifier == PersonIdentifier::PhoneticName ||
           labeledForms().contains(identifier) || QNPerson::addressIdentifiers().contains(identifier) ||
           QNPerson::stringIdentifiers().contains(identifier);
}

void storeField(QNPerson &person, QVariantMap &address, const QString &identifier, const QString &field)
{
    if (identifier == PersonIdentifier::Name) {
        person.setValue(QVariantMap{{PersonKey::LastName, field},
                                    {PersonKey::ShowAsPerson, true},
                                    {PersonKey::NameOrdering, 0}},
                        identifier);
    } else if (identifier == PersonIdentifier::PhoneticName) {
        person.setValue(QVariantMap{{PersonKey::LastName, field}}, identifier);
    } else if (labeledForms().contains(identifier)) {
        const LabeledForm form = labeledForms().value(identifier);
        QVariantMap entry{{PersonKey::Value, field},
                          {PersonKey::Label, form.label},
                          {PersonKey::LabelIndex, -1},
                          {QStringLiteral("type"), identifier}};
        if (!form.service.isEmpty())
            entry.insert(StoreValueKey::Service, form.service);
        person.addLabeledValue(entry, identifier);
    } else if (QNPerson::addressIdentifiers().contains(identifier)) {
        address.insert(identifier, field);
    } else {
        person.setValue(field, identifier);
    }
}

} // namespace

QStringList GridTextParser::pasteIdentifiers(const QStringList &tableIdentifiers, UserDefaults &defaults)
{
    if (tableIdentifiers.size() != 1)
        return tableIdentifiers;
    return DetailFieldOrder::saved(defaults).value_or(DetailFieldOrder::defaultOrder());
}

QStringList GridTextParser::fieldsOfLine(const QString &line)
{
    if (line.contains(QLatin1Char('\t')))
        return line.split(QLatin1Char('\t'));
    if (line.contains(QLatin1Char(',')))
        return line.split(QLatin1Char(','));
    return {line};
}

QList<ContactRowPtr> GridTextParser::contactsFromString(const QString &text, const QStringList &identifiers)
{
    QList<ContactRowPtr> rows;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString &line : text.split(lineBreak)) {
        if (ContactRowPtr row = contactFromString(line, identifiers))
            rows.append(row);
    }
    return rows;
}

ContactRowPtr GridTextParser::contactFromString(const QString &line, const QStringList &identifiers)
{
    if (line.isEmpty())
        return nullptr;
    const QStringList fields = fieldsOfLine(line);
    auto person = std::make_shared<QNPerson>();
    QVariantMap address{{PersonKey::Label, QStringLiteral("home")}};
    bool stored = false;
    qsizetype cursor = 0;
    for (const QString &identifier : identifiers) {
        if (cursor >= fields.size())
            break;
        if (!takesField(identifier))
            continue;
        const QString field = fields.at(cursor++);
        if (field.isEmpty())
            continue;
        storeField(*person, address, identifier, field);
        stored = true;
    }
    if (!stored)
        return nullptr;
    if (address.size() > 1)
        person->addLabeledValue(address, QStringLiteral("Address"));
    person->setCreated(true);
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    row->isNew = true;
    return row;
}
