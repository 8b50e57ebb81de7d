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
