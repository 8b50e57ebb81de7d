#pragma once

#include "panels/MergePanelController.h"
#include "panels/MergeTable.h"
#include "panels/MergeUndoLayer.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// Standalone contacts and a fresh merge sheet begun on a window of its own.
class MergeFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().removePersistentDomain();
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
        window = std::make_unique<QWidget>();
        window->resize(1000, 700);
    }

    void TearDown() override
    {
        sheet.reset();
        window.reset();
        QCoreApplication::processEvents();
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    }

    static ContactRowPtr contact(const QString &first, const QString &last = QStringLiteral("Lee"))
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, first},
                                     {PersonKey::LastName, last},
                                     {PersonKey::ShowAsPerson, true},
                                     {PersonKey::NameOrdering, 0}},
                         PersonIdentifier::Name);
        person->setValue(QStringLiteral("Acme"), QStringLiteral("Company"));
        auto row = std::make_shared<ContactRow>();
        row->person = person;
        row->uniqueId = person->uniqueId();
        return row;
    }

    // A square JPEG with detail in it, so that any re-encoding shows in its bytes.
    static QByteArray jpegPhoto(int side)
    {
        QImage image(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x)
                image.setPixel(x, y, qRgb(x * 255 / side, y * 255 / side, (x ^ y) & 0xff));
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 90);
        return bytes;
    }

    static void setList(const ContactRowPtr &row, const QString &identifier, const QStringList &values)
    {
        QVariantList list;
        for (const QString &value : values)
            list.append(QVariantMap{{PersonKey::Label, QStringLiteral("work")}, {PersonKey::Value, value}});
        row->person->setValue(list, identifier);
    }

    // Opens the sheet on the first contacts; the completion's code is kept.
    void open(const QList<ContactRowPtr> &contacts, bool editable = true, const QVariantList &customItems = {})
    {
        sheet = std::make_unique<MergePanelController>();
        sheet->setCustomItems(customItems);
        context = std::make_shared<MergeContextDict>();
        context->contacts = contacts;
        ASSERT_TRUE(sheet->setContextInfo(context, editable));
        sheet->setSelectedFont(QFont(QStringLiteral("Sans"), 13));
        sheet->beginSheetModalForWindow(window.get(), [this](int code) { returnCode = code; });
    }

    ContactRowPtr left() const { return sheet->contactLeft(); }
    ContactRowPtr right() const { return sheet->contactRight(); }
    MergeUndoLayer &layer() const { return sheet->undoLayer(); }
    // Ends the undo step of the current event, as the event loop does.
    void nextEvent() const { sheet->undoManager().closeAutomaticGroup(); }

    // The rows of one kind on a side.
    static MergeRowTable rowsOf(const MergeTable *table, const QString &type)
    {
        MergeRowTable rows;
        for (const MergeRow &row : table->rows()) {
            if (row.type == type)
                rows.append(row);
        }
        return rows;
    }

    static int firstRowOf(const MergeTable *table, const QString &type)
    {
        const MergeRowTable &rows = table->rows();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row).type == type)
                return row;
        }
        return -1;
    }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<MergePanelController> sheet;
    MergeContextDictPtr context;
    std::optional<int> returnCode;
};
