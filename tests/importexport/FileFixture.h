#pragma once

#include "app/WindowFixture.h"

#include "app/FileExporter.h"
#include "app/ImportPanelController.h"
#include "importexport/ProgressAlert.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/FilePanel.h"

#include "detail/DetailTableController.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

// The grid answering the export's question with chosen rows.
class ExportGrid : public RecordingGrid
{
public:
    using RecordingGrid::RecordingGrid;
    std::optional<QList<ContactRowPtr>> selectedContactsWithClickedRowIndex(int) override
    {
        if (exportSelection.isEmpty())
            return std::nullopt;
        return exportSelection;
    }
    QList<ContactRowPtr> exportSelection;
};

// A main window over stand-in panes showing one container whose top group holds Ann and Bob, files
// in a folder of the test's own, and the panels and alerts answered by the test.
class FileFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        SplitPanes panes = SplitPanes::makeDefault(defaults());
        auto grid = std::make_unique<ExportGrid>(defaults());
        m_grid = grid.get();
        panes.contactsViewController = std::move(grid);
        m_window = std::make_unique<WindowController>(defaults(), std::move(panes));
        top = std::make_shared<GroupDict>();
        top->top = true;
        top->name = QStringLiteral("All Contacts");
        top->contactTable = std::make_shared<ContactTable>(ContactTable{contact("Ann"), contact("Bob")});
        auto container = std::make_shared<ContainerDict>();
        container->groups = {top};
        view()->setContainerTable({container});
        view()->setSelectedGroupDict(top);
        view()->setContactTable(top->contactTable);
    }

    void TearDown() override
    {
        m_window.reset();
        FilePanel::resetTestState();
        Alert::resetTestState();
        Sheet::resetTestState();
        AppFixture::TearDown();
    }

    ViewController *view() const { return m_window->mainViewController(); }

    static ContactRowPtr contact(const QString &givenName, const QStringList &phones = {})
    {
        auto row = std::make_shared<ContactRow>();
        row->person = std::make_shared<QNPerson>();
        row->person->setValue(givenName, PersonKey::FirstName);
        for (const QString &phone : phones)
            row->person->addLabeledValue(
                QVariantMap{{PersonKey::Label, QStringLiteral("home")}, {PersonKey::Value, phone}},
                QStringLiteral("Phone"));
        row->uniqueId = row->person->uniqueId();
        row->person->setChanged(false);
        return row;
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString writeFile(const QString &name, const QByteArray &data) const
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(data);
        return file.fileName();
    }
    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray cards(const QStringList &names)
    {
        QByteArray text;
        for (const QString &name : names)
            text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + name.toUtf8() + ";;;;\r\nFN:" + name.toUtf8() +
                    "\r\nCATEGORIES:Imported\r\nEND:VCARD\r\n";
        return text;
    }

    bool waitUntilIdle() { return spinUntil([this] { return !m_window->isExporting(); }); }

    LogCapture m_log;
    QTemporaryDir m_dir;
    std::unique_ptr<WindowController> m_window;
    ExportGrid *m_grid = nullptr;
    GroupDictPtr top;
};
