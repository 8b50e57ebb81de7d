#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

// The open panel (one existing file) and the save panel (one file name), run application-modal
// or shown as a sheet on a window. The answer is the chosen path, empty when cancelled.
//
// Allowed types are the program's type names ("public.vcard", "public.plain-text",
// "public.comma-separated-values-text", "public.image") or bare extensions; they become the
// panel's name filters. An accessory widget (an encoding chooser) is shown under the file list
// while the panel runs and handed back to its own parent afterwards, so the caller reads it then.
//
// A panel opens in the folder of the last file chosen in any panel, remembered in the edition's
// user defaults (LastDirectoryKey); the first time, or when that folder is gone, in the user's
// home folder, never in the working directory the program was started from. setDirectory()
// overrides both for one panel.
//
// Test hooks: paths queued with setNextPath() (and cancels with setNextCancel()) answer the next
// panels without showing them; under TestMode a panel with nothing queued answers cancel. Panels
// answered so are recorded in shownPanels(). runModal() then returns at once; a sheet's
// completion runs from the event loop.
class FilePanel
{
public:
    enum class Kind
    {
        Open,
        Save
    };

    struct Record
    {
        Kind kind = Kind::Open;
        QString title;
        QString nameFieldLabel;
        QString nameFieldStringValue;
        QStringList allowedFileTypes;
        bool asSheet = false;
        QString answer;
        // The folder the panel opened in.
        QString directory;
    };

    // User-defaults key: the folder of the last chosen file, an absolute path.
    static const QString LastDirectoryKey;

    explicit FilePanel(Kind kind);

    void setTitle(const QString &title) { m_title = title; }
    // Save panel: the label before the name field ("Export As:") and the proposed name.
    void setNameFieldLabel(const QString &label) { m_nameFieldLabel = label; }
    void setNameFieldStringValue(const QString &name) { m_nameFieldStringValue = name; }
    void setDirectory(const QString &directory) { m_directory = directory; }
    void setAllowedFileTypes(const QStringList &types) { m_allowedFileTypes = types; }
    void setAccessoryView(QWidget *accessory) { m_accessory = accessory; }

    QString runModal();
    void beginSheetModalForWindow(QWidget *window, std::function<void(const QString &)> completion);

    // A contact's name made fit to propose as a file name: no folder separators or characters other
    // systems refuse, never empty or only dots ("Contact" then).
    static QString safeFileName(const QString &name);

    // Name filters for the types; an open panel gets one filter that takes every allowed type.
    static QStringList nameFilters(const QStringList &types, Kind kind);

    static void setNextPath(const QString &path);
    static void setNextCancel();
    static QList<Record> shownPanels();
    static void resetTestState();

private:
    bool answerForTest(bool asSheet, QString *path) const;
    QString startDirectory() const;
    QFileDialog *makeDialog(QWidget *parent) const;

    Kind m_kind;
    QString m_title;
    QString m_nameFieldLabel;
    QString m_nameFieldStringValue;
    QString m_directory;
    QStringList m_allowedFileTypes;
    QPointer<QWidget> m_accessory;
};
