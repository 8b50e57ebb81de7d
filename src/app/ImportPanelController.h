#pragma once

#include "detail/DetailTableHost.h"
#include "model/AddressBookRecords.h"
#include "platform/widgets/Sheet.h"

#include <QList>
#include <QString>

#include <memory>

class DetailTableController;
class QLabel;
class QPushButton;
class QTableWidget;
class UserDefaults;

// The sheet that lists the contacts read from an imported file and previews the selected one in a
// read-only detail table. It ends with 1 (add the selected rows) or 0 (add nothing). The main window
// makes one and reuses it; each import sets the file name and then the rows.
class ImportPanelController : public Sheet, public DetailTableHost
{
    Q_OBJECT

public:
    explicit ImportPanelController(UserDefaults &defaults, QWidget *parent = nullptr);
    ~ImportPanelController() override;

    QLabel *importFilename() const { return m_importFilename; }
    QTableWidget *nameTableView() const { return m_nameTableView; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QPushButton *selectButton() const { return m_selectButton; }
    DetailTableController *contactInfoController() const { return m_contactInfoController.get(); }

    QString filename() const { return m_filename; }
    // Shown with the next rows.
    void setFilename(const QString &filename) { m_filename = filename; }
    const ContactTable &nameTable() const { return m_nameTable; }
    // Lists the rows in file order, all of them selected, and shows the file name.
    void setNameTable(const ContactTable &rows);
    // The selected rows' positions in ascending order.
    QList<int> selectedIndexes() const;
    double rowHeight() const { return m_rowHeight; }

    // DetailTableHost: the preview edits nothing and reports nothing.
    DetailEditDelegate *editDelegate() const override { return nullptr; }
    QObject *editSender() override { return this; }
    void sendContactDidUpdate() override {}

private:
    void reloadData();
    void selectionDidChange();
    void showPreview(int row);

    QLabel *m_importFilename;
    QTableWidget *m_nameTableView;
    QPushButton *m_cancelButton;
    QPushButton *m_selectButton;
    std::unique_ptr<DetailTableController> m_contactInfoController;
    ContactTable m_nameTable;
    QString m_filename;
    double m_rowHeight = 20;
};
