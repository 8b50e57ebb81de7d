#pragma once

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/TestMode.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"
#include "ui/contracts/SubContactRow.h"

#include <QPageLayout>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Fresh defaults of the test's own, nobody at the screen, contacts made on the spot.
class PrintFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_defaults = std::make_unique<UserDefaults>(m_folder.filePath(QStringLiteral("defaults.json")));
        TestMode::reset();
        TestMode::setEnabled(true);
    }
    void TearDown() override
    {
        TestMode::reset();
        TestMode::setEnabled(false);
    }

    UserDefaults &defaults() { return *m_defaults; }
    QString path(const QString &name) const { return m_folder.filePath(name); }

    static QNPersonPtr person(const QString &first, const QString &last = QString())
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, first},
                                     {PersonKey::LastName, last},
                                     {PersonKey::ShowAsPerson, true},
                                     {PersonKey::NameOrdering, 1}},
                         PersonIdentifier::Name);
        return person;
    }
    // Entries as label, value, label, value...
    static void setEntries(const QNPersonPtr &person, const QString &identifier, const QStringList &labelsAndValues)
    {
        QVariantList list;
        for (qsizetype i = 0; i + 1 < labelsAndValues.size(); i += 2)
            list.append(QVariantMap{{PersonKey::Label, labelsAndValues[i]}, {PersonKey::Value, labelsAndValues[i + 1]}});
        person->setValue(list, identifier);
    }
    static SubContactRowPtr row(const QNPersonPtr &person, int labelIndex = 0)
    {
        auto row = std::make_shared<SubContactRow>();
        row->person = person;
        row->uniqueId = person->uniqueId();
        row->labelIndex = labelIndex;
        return row;
    }
    static QList<SubContactRowPtr> rowsOf(int count)
    {
        QList<SubContactRowPtr> rows;
        for (int i = 1; i <= count; ++i)
            rows.append(row(person(QStringLiteral("Contact"), QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')))));
        return rows;
    }

    // Options with the address list's items ticked as given, "Name" first.
    static QVariantMap addressListOptions(const QStringList &ticked, const QStringList &labels = {PrintKey::AllLabels})
    {
        QVariantMap options = PrintOptionsDict::createPrintOptions();
        QVariantMap list = options.value(PrintKey::AddressListOptions).toMap();
        QVariantList table{QVariantMap{{PrintKey::Title, QStringLiteral("Name")}, {PrintKey::State, true}}};
        for (const QString &title : ticked)
            table.append(QVariantMap{{PrintKey::Title, title}, {PrintKey::State, true}});
        list.insert(PrintKey::ItemTable, table);
        list.insert(PrintKey::SelectedLabels, labels);
        options.insert(PrintKey::AddressListOptions, list);
        options.insert(PrintKey::FontName, QStringLiteral("DejaVu Sans"));
        options.insert(PrintKey::FontSize, 10);
        return options;
    }

    static QPageLayout paper(const QSizeF &points)
    {
        return QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
    }

    // The standard output of a poppler tool.
    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<UserDefaults> m_defaults;
};
