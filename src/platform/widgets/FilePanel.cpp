#include "platform/widgets/FilePanel.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/TestMode.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QRegularExpression>

#include <memory>

namespace {

QList<QString> s_nextAnswers; // an empty path answers cancel
QList<FilePanel::Record> s_shown;

QStringList extensionsFor(const QString &type)
{
    const QString name = type.toLower();
    if (name == QLatin1String("public.vcard"))
        return {QStringLiteral("vcf"), QStringLiteral("vcard")};
    if (name == QLatin1String("public.plain-text"))
        return {QStringLiteral("txt"), QStringLiteral("text")};
    if (name == QLatin1String("public.comma-separated-values-text"))
        return {QStringLiteral("csv")};
    if (name == QLatin1String("public.image")) {
        QStringList extensions;
        for (const QByteArray &format : QImageReader::supportedImageFormats())
            extensions.append(QString::fromLatin1(format).toLower());
        return extensions;
    }
    return {name.startsWith(QLatin1Char('.')) ? name.mid(1) : name};
}

QString descriptionFor(const QString &type)
{
    const QString name = type.toLower();
    if (name == QLatin1String("public.vcard"))
        return L(QStringLiteral("vCard"));
    if (name == QLatin1String("public.plain-text"))
        return L(QStringLiteral("Plain Text"));
    if (name == QLatin1String("public.comma-separated-values-text"))
        return L(QStringLiteral("CSV"));
    if (name == QLatin1String("public.image"))
        return L(QStringLiteral("Image"));
    return extensionsFor(type).constFirst().toUpper();
}

// Files from other systems often carry upper-case extensions, and the filters match case.
QString patternsFor(const QStringList &extensions)
{
    QStringList patterns;
    for (const QString &extension : extensions) {
        patterns.append(QStringLiteral("*.") + extension);
        if (extension.toUpper() != extension)
            patterns.append(QStringLiteral("*.") + extension.toUpper());
    }
    patterns.removeDuplicates();
    return patterns.join(QLatin1Char(' '));
}

QString filter(const QString &description, const QStringList &extensions)
{
    return QStringLiteral("%1 (%2)").arg(description, patternsFor(extensions));
}

QString suffixOfFilter(const QString &nameFilter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.([^ )]+)"));
    return firstPattern.match(nameFilter).captured(1);
}

// Every chosen file moves the next panel to its folder; a cancel leaves it.
void rememberFolderOf(const QString &path)
{
    if (!path.isEmpty())
        UserDefaults::standard().setObject(QFileInfo(path).absolutePath(), FilePanel::LastDirectoryKey);
}

void deliver(QWidget *window, const std::function<void(const QString &)> &completion, const QString &path)
{
    if (!completion)
        return;
    QObject *context = window ? static_cast<QObject *>(window) : qApp;
    QMetaObject::invokeMethod(
        context, [completion, path] { completion(path); }, Qt::QueuedConnection);
}

// Shows the accessory inside the dialog and puts it back under its own parent when the run ends.
class AccessoryLoan
{
public:
    AccessoryLoan(QWidget *accessory, QFileDialog *dialog) : m_accessory(accessory)
    {
        if (!accessory)
            return;
        m_home = accessory->parentWidget();
        if (auto *grid = qobject_cast<QGridLayout *>(dialog->layout()))
            grid->addWidget(accessory, grid->rowCount(), 0, 1, grid->columnCount());
        else
            dialog->layout()->addWidget(accessory);
        accessory->show();
    }
    void giveBack()
    {
        if (!m_accessory)
            return;
        m_accessory->hide();
        m_accessory->setParent(m_home);
        m_accessory = nullptr;
    }

private:
    QPointer<QWidget> m_accessory;
    QPointer<QWidget> m_home;
};

QString chosenPath(const QFileDialog *dialog)
{
    return dialog->result() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
}

} // namespace

const QString FilePanel::LastDirectoryKey = QStringLiteral("NSNavLastRootDirectory");

FilePanel::FilePanel(Kind kind) : m_kind(kind) {}

QString FilePanel::safeFileName(const QString &name)
{
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    QString safe = name;
    safe.replace(unsafe, QStringLiteral("_"));
    safe = safe.trimmed();
    if (safe.isEmpty() || safe.count(QLatin1Char('.')) == safe.size())
        return QStringLiteral("Contact");
    return safe;
}

QString FilePanel::startDirectory() const
{
    if (!m_directory.isEmpty())
        return m_directory;
    const QString last = UserDefaults::standard().stringForKey(LastDirectoryKey);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QDir::homePath();
}

QStringList FilePanel::nameFilters(const QStringList &types, Kind kind)
{
    QStringList filters;
    QStringList descriptions;
    QStringList allExtensions;
    for (const QString &type : types) {
        filters.append(filter(descriptionFor(type), extensionsFor(type)));
        descriptions.append(descriptionFor(type));
        allExtensions.append(extensionsFor(type));
    }
    if (kind == Kind::Open && types.size() > 1)
        filters.prepend(filter(descriptions.join(QStringLiteral(", ")), allExtensions));
    return filters;
}

bool FilePanel::answerForTest(bool asSheet, QString *path) const
{
    if (s_nextAnswers.isEmpty() && !TestMode::isEnabled())
        return false;
    *path = s_nextAnswers.isEmpty() ? QString() : s_nextAnswers.takeFirst();
    s_shown.append({m_kind, m_title, m_nameFieldLabel, m_nameFieldStringValue, m_allowedFileTypes, asSheet,
                    *path, startDirectory()});
    rememberFolderOf(*path);
    return true;
}

QFileDialog *FilePanel::makeDialog(QWidget *parent) const
{
    auto *dialog = new QFileDialog(parent);
    // Desktop dialogs can take neither the accessory nor the name-field label.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(m_kind == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(m_kind == Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!m_title.isEmpty())
        dialog->setWindowTitle(m_title);
    dialog->setDirectory(startDirectory());
    const QStringList filters = nameFilters(m_allowedFileTypes, m_kind);
    if (!filters.isEmpty())
        dialog->setNameFilters(filters);
    if (m_kind == Kind::Save) {
        if (!m_nameFieldLabel.isEmpty())
            dialog->setLabelText(QFileDialog::FileName, m_nameFieldLabel);
        dialog->setDefaultSuffix(suffixOfFilter(filters.value(0)));
        QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString &nameFilter) {
            dialog->setDefaultSuffix(suffixOfFilter(nameFilter));
        });
        if (!m_nameFieldStringValue.isEmpty())
            dialog->selectFile(m_nameFieldStringValue);
    }
    return dialog;
}

QString FilePanel::runModal()
{
    QString path;
    if (answerForTest(false, &path))
        return path;
    std::unique_ptr<QFileDialog> dialog(makeDialog(nullptr));
    AccessoryLoan loan(m_accessory, dialog.get());
    dialog->exec();
    loan.giveBack();
    const QString chosen = chosenPath(dialog.get());
    rememberFolderOf(chosen);
    return chosen;
}

void FilePanel::beginSheetModalForWindow(QWidget *window, std::function<void(const QString &)> completion)
{
    QString path;
    if (answerForTest(true, &path)) {
        deliver(window, completion, path);
        return;
    }
    QFileDialog *dialog = makeDialog(window);
    auto loan = std::make_shared<AccessoryLoan>(m_accessory, dialog);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, loan, window, completion] {
        loan->giveBack();
        dialog->deleteLater();
        const QString chosen = chosenPath(dialog);
        rememberFolderOf(chosen);
        deliver(window, completion, chosen);
    });
    if (window) {
        dialog->open();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
}

void FilePanel::setNextPath(const QString &path)
{
    s_nextAnswers.append(path);
}

void FilePanel::setNextCancel()
{
    s_nextAnswers.append(QString());
}

QList<FilePanel::Record> FilePanel::shownPanels()
{
    return s_shown;
}

void FilePanel::resetTestState()
{
    s_nextAnswers.clear();
    s_shown.clear();
}
