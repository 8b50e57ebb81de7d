// The postal tables: any compressed bytes inflate or are refused; any CSV text repacks, and a
// search for any typed code in the repacked text finds records without a crash.
#include "FuzzSupport.h"

#include "editors/JapanPostalCodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    (void)JapanPostalCodes::inflateGzipData(bytes);
    const QString text = QString::fromUtf8(bytes);
    const QString table = data[0] & 1 ? JapanPostalCodes::BusinessTable : JapanPostalCodes::ResidentialTable;
    const QString packed = JapanPostalCodes::repackPostalLines(text, table);
    (void)JapanPostalCodes::dictionariesFromFindLines(packed);
    // The typed code: the first line of the text, as a user could type anything.
    const QString zip = text.section(QLatin1Char('\n'), 0, 0).left(10);
    (void)JapanPostalCodes::addressesFromZip({packed}, zip);
    (void)JapanPostalCodes::formatZIP(zip);
    (void)JapanPostalCodes::stripDoublequote(zip);
    return 0;
}
