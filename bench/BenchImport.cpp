#include "BenchImport.h"

#include "addressbook/TextEncodings.h"
#include "model/QNvCard.h"

namespace BenchImport {

std::optional<ContainerTable> readVCardFile(const QString &path)
{
    TextEncodings::FileBytes bytes = TextEncodings::readBytes(path);
    if (!bytes.data)
        return std::nullopt;
    TextEncodings::Utf8Result text =
        TextEncodings::decodeToUtf8(std::move(*bytes.data), TextEncodings::Automatic, QString());
    if (!text.text)
        return std::nullopt;
    const QByteArray utf8 = std::move(*text.text);
    return QNvCard().containersFromVCards(QByteArrayView(utf8), {},
                                          TextEncodings::eightBitCharset(text.encoding));
}

ContactTablePtr topRows(const std::optional<ContainerTable> &containers)
{
    return containers && !containers->isEmpty() ? containers->first()->topGroup()->contactTable : nullptr;
}

} // namespace BenchImport
