#include "importexport/CsvImportRun.h"

#include "addressbook/TextFormat.h"
#include "importexport/BackgroundRun.h"
#include "platform/Localizer.h"

std::optional<QNvCard::CsvImport> contactsFromCSVWithProgress(ProgressAlert &alert, QString text,
                                                              const QString &fileName)
{
    return runInBackgroundWithProgress(
        alert, TextFormat::fill(L(QStringLiteral("Reading the file: %@")), {fileName}),
        [text = std::move(text)](BackgroundProgress &progress) {
            const double length = qMax<qsizetype>(1, text.size());
            std::optional<QNvCard::CsvImport> read =
                QNvCard().contactsFromCSV(text, [&](bool *stop, quint64 offset) {
                    *stop = progress.isCancelled();
                    progress.setProgress(double(offset) / length * 100.0);
                });
            // A stopped read is a cancelled one, whose result is dropped.
            return read.value_or(QNvCard::CsvImport());
        });
}
