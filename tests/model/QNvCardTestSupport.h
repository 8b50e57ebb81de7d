#pragma once

#include "PersonTestSupport.h"

#include "common/TestEnvironment.h"
#include "model/QNvCard.h"

#include <QFile>
#include <QStringDecoder>

#include <ostream>

// Readable failures for the texts these tests compare.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '{' << texts.join(QStringLiteral("|")).toStdString() << '}';
}

// Converter tests start with no address-book custom items and leave none behind.
class VCardTest : public PersonTest
{
protected:
    void SetUp() override
    {
        PersonTest::SetUp();
        QNPerson::setCustomItems({});
    }
    void TearDown() override
    {
        QNPerson::setCustomItems({});
        PersonTest::TearDown();
    }

    static QVariantMap definition(const QString &type, const QString &name)
    {
        return {{PersonKey::ItemType, type}, {PersonKey::ItemName, name}};
    }

    // The one container of the text; its top group comes first.
    static ContainerDictPtr read(const QString &text)
    {
        const std::optional<ContainerTable> containers = QNvCard().containersFromVCards(text);
        if (!containers || containers->size() != 1) {
            ADD_FAILURE() << "no single container";
            return std::make_shared<ContainerDict>();
        }
        return containers->first();
    }

    static QStringList namesOf(const ContactTablePtr &rows)
    {
        QStringList names;
        for (const ContactRowPtr &row : *rows)
            names.append(row->person->compositeName());
        return names;
    }

    static QStringList groupNames(const ContainerDictPtr &container)
    {
        QStringList names;
        for (const GroupDictPtr &group : container->groups)
            names.append(group->name);
        return names;
    }

    // A fixture file as the import hands it over: decoded from its encoding.
    static QString sample(const QString &name, const char *encoding = "UTF-8")
    {
        QFile file(TestEnvironment::dataPath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        QStringDecoder decoder(encoding);
        return decoder.decode(file.readAll());
    }

    static QString card(const QString &lines)
    {
        return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\n") + lines + QStringLiteral("END:VCARD\r\n");
    }
};

// Every value of the record, one entry a line, to compare what readings recovered.
inline QStringList valuesOf(QNPerson &person)
{
    const auto parts = [](const QVariantMap &map, const QStringList &keys) {
        QStringList texts;
        for (const QString &key : keys) {
            if (!map.value(key).toString().isEmpty())
                texts.append(key + '=' + map.value(key).toString());
        }
        return texts.join(' ');
    };
    const QStringList nameParts{"FirstName", "MiddleName", "LastName", "PreviousFamilyName"};
    QStringList lines{"Name: " + parts(person.nameValue(), nameParts) +
                      (person.showAsPerson() ? "" : "(company)")};
    if (const auto phonetic = person.phoneticNameValue(); phonetic && !parts(*phonetic, nameParts).isEmpty())
        lines.append("Phonetic Name: " + parts(*phonetic, nameParts));
    for (const QString &identifier : QNPerson::stringIdentifiers()) {
        if (!person.stringValueForIdentifier(identifier).isEmpty())
            lines.append(identifier + ": " + person.stringValueForIdentifier(identifier));
    }
    if (const auto birthday = person.birthdayValue(); birthday && birthday->contains("value")) {
        const QVariantMap date = birthday->value("value").toMap();
        lines.append(QStringLiteral("Birthday: %1-%2-%3")
                         .arg(date.value("year").toString(), date.value("month").toString(),
                              date.value("day").toString()));
    }
    for (const QString &identifier : QNPerson::labeledIdentifiers()) {
        for (const QVariant &item : person.labeledValueForIdentifier(identifier)) {
            const QVariantMap value = item.toMap();
            QString text = value.value("stringValue").toString();
            if (identifier == "Address") {
                QStringList address;
                for (const char *part : {"Street", "City", "State", "ZIP", "Country"})
                    address.append(value.value(part).toString());
                text = address.join('|');
            }
            lines.append(identifier + ": " + value.value("label").toString() + '=' + text);
        }
    }
    return lines;
}

inline ContactTable readCsv(const QString &text)
{
    const QNvCard::CsvImport csv = QNvCard().contactsFromCSV(text);
    EXPECT_TRUE(csv.error.isEmpty()) << csv.error.toStdString();
    return csv.rows;
}
