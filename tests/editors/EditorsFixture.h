#pragma once

#include "model/AddressBookRecords.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/TestMode.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Fresh defaults and a cloud store of its own, nobody at the screen, English texts. Labels a test
// registers in the process-wide label tables are taken out again afterwards.
class EditorsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_defaults = std::make_unique<UserDefaults>(m_folder.filePath("defaults.json"));
        m_cloud = std::make_unique<CloudKeyValueStore>(m_folder.filePath("cloud.json"));
        QNPerson::setCloudKeyValueStore(m_cloud.get());
        TestMode::reset();
        TestMode::setEnabled(true);
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
    }

    void TearDown() override
    {
        QCoreApplication::processEvents();
        for (const auto &[label, identifier] : m_registered)
            QNPerson::removeLabel(label, identifier);
        QNPerson::setCloudKeyValueStore(nullptr);
        TestMode::reset();
        TestMode::setEnabled(false);
    }

    // Registers a custom label, as reading a contact that carries it would.
    void registerLabel(const QString &label, const QString &identifier)
    {
        QNPerson::setLabel(QString(), label, identifier);
        forget(label, identifier);
    }
    // A label the test makes through the sheet, taken out afterwards.
    void forget(const QString &label, const QString &identifier) { m_registered.append({label, identifier}); }

    static QNPersonPtr personWith(const QString &identifier, const QStringList &labels)
    {
        auto person = std::make_shared<QNPerson>();
        QVariantList entries;
        for (const QString &label : labels)
            entries.append(QVariantMap{{"label", label}, {"value", label + "-value"}});
        person->setValue(entries, identifier);
        person->setChanged(false);
        return person;
    }

    static ContainerDictPtr containerWith(const QList<QNPersonPtr> &persons)
    {
        auto rows = std::make_shared<ContactTable>();
        for (const QNPersonPtr &person : persons) {
            auto row = std::make_shared<ContactRow>();
            row->person = person;
            row->uniqueId = person->uniqueId();
            rows->append(row);
        }
        auto top = std::make_shared<GroupDict>();
        top->top = true;
        top->contactTable = rows;
        auto container = std::make_shared<ContainerDict>();
        container->groups = {top};
        return container;
    }

    static QStringList labelsOf(QNPerson &person, const QString &identifier)
    {
        QStringList labels;
        for (const QVariant &entry : person.labeledValueForIdentifier(identifier))
            labels.append(entry.toMap().value("label").toString());
        return labels;
    }

    QTemporaryDir m_folder;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<CloudKeyValueStore> m_cloud;
    QList<std::pair<QString, QString>> m_registered;
};
