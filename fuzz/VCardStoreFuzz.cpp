// The store-level vCard reader: any bytes read without a crash, and the contacts read survive a
// write and a re-read (the second write equals the first).
#include "FuzzSupport.h"

#include "platform/StoreVCardReader.h"
#include "platform/StoreVCardWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QList<StoreContact>> contacts = StoreVCardReader::read(fuzzBytes(data, size));
    if (!contacts || contacts->isEmpty())
        return 0;
    const QByteArray first = StoreVCardWriter::write(*contacts);
    const std::optional<QList<StoreContact>> again = StoreVCardReader::read(first);
    require(again && again->size() == contacts->size(), "every written card reads again");
    requireEqual(QString::fromUtf8(first), QString::fromUtf8(StoreVCardWriter::write(*again)),
                 "written cards");
    return 0;
}
