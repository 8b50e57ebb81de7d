// The record-level vCard reader: any text reads without a crash, and what it read survives a
// write and a re-read (the second write equals the first).
#include "FuzzSupport.h"

#include "model/QNvCard.h"

namespace {

QString writtenCards(const QNvCard &vCard, const QString &text)
{
    const std::optional<ContainerTable> containers = vCard.containersFromVCards(text);
    if (!containers || containers->isEmpty())
        return {};
    const ContactTablePtr rows = vCard.contactsInContainer(containers->first());
    return rows ? vCard.vCardsFromContacts(*rows, {QStringLiteral("Note")}) : QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QNvCard vCard;
    const QString first = writtenCards(vCard, QString::fromUtf8(fuzzBytes(data, size)));
    if (first.isEmpty())
        return 0;
    requireEqual(first, writtenCards(vCard, first), "written cards");
    return 0;
}
