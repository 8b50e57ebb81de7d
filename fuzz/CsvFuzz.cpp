// The CSV reader: any text reads without a crash, and its export settles: the export has no
// column for some fields (a middle name), so the first re-import may move a value, but the
// export of a re-imported export reads back as itself.
#include "FuzzSupport.h"

#include "model/QNvCard.h"

namespace {

QString csvOf(const QNvCard &vCard, const ContactTable &rows)
{
    QList<QNvCard::CsvRow> csvRows;
    for (const ContactRowPtr &row : rows)
        csvRows.append({row->person, 0});
    return vCard.csvFromSubContacts(csvRows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QNvCard vCard;
    const QNvCard::CsvImport import = vCard.contactsFromCSV(QString::fromUtf8(fuzzBytes(data, size)));
    if (import.rows.isEmpty())
        return 0;
    const QNvCard::CsvImport settled = vCard.contactsFromCSV(csvOf(vCard, import.rows));
    require(settled.error.isEmpty() && settled.rows.size() == import.rows.size(), "the export reads again");
    const QString exported = csvOf(vCard, settled.rows);
    const QNvCard::CsvImport again = vCard.contactsFromCSV(exported);
    require(again.error.isEmpty() && again.rows.size() == settled.rows.size(), "the export reads again");
    requireEqual(exported, csvOf(vCard, again.rows), "CSV exports");
    return 0;
}
