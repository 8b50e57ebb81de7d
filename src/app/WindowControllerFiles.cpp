// The window's file commands: import and export with their progress window and import chooser.

#include "app/FileExporter.h"
#include "app/FileImporter.h"
#include "app/ImportPanelController.h"
#include "app/MainMenu.h"
#include "importexport/ProgressAlert.h"
#include "app/WindowController.h"

#include <QAction>

void WindowController::connectFileCommands()
{
    m_fileImporter = std::make_unique<FileImporter>(*this);
    m_fileExporter = std::make_unique<FileExporter>(*this);
    if (QAction *item = menuItem(MenuCommand::ImportFromVCard))
        connect(item, &QAction::triggered, this, &WindowController::importFromVCard);
    if (QAction *item = menuItem(MenuCommand::ImportFromCSV))
        connect(item, &QAction::triggered, this, &WindowController::importFromCSV);
    if (QAction *item = menuItem(MenuCommand::ExportToVCard))
        connect(item, &QAction::triggered, this, [this, item] { exportToVCard(item); });
    if (QAction *item = menuItem(MenuCommand::ExportToCSV))
        connect(item, &QAction::triggered, this, [this, item] { exportToCSV(item); });
}

void WindowController::importFromVCard()
{
    m_fileImporter->importFromVCard();
}

void WindowController::importFromCSV()
{
    m_fileImporter->importFromCSV();
}

void WindowController::importFiles(const QStringList &paths)
{
    m_fileImporter->importFiles(paths);
}

void WindowController::exportToVCard(QObject *sender)
{
    m_fileExporter->exportToVCard(sender);
}

void WindowController::exportToCSV(QObject *sender)
{
    m_fileExporter->exportToCSV(sender);
}

ProgressAlert *WindowController::progressAlert()
{
    if (!m_progressAlert)
        m_progressAlert = new ProgressAlert(this);
    return m_progressAlert;
}

ImportPanelController *WindowController::importPanelController()
{
    if (!m_importPanelController)
        m_importPanelController = new ImportPanelController(m_defaults, this);
    return m_importPanelController;
}
