#include "model/StrayControls.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

bool isStrayControl(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7F;
}

} // namespace

namespace StrayControls {

// Looked for four UTF-16 units at a time: a block with no unit below U+0020 and none equal to
// U+007F, nearly every block of a text, costs a few operations.
qsizetype count(const QString &text)
{
    constexpr quint64 Lanes = 0x0001000100010001;
    constexpr quint64 High = 0x8000800080008000;
    const char16_t *units = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    qsizetype count = 0;
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 block = 0;
        std::memcpy(&block, units + i, sizeof block);
        const quint64 deleteLanes = block ^ (Lanes * 0x7F);
        const quint64 low = (block - Lanes * 0x20) & ~block & High;
        const quint64 del = (deleteLanes - Lanes) & ~deleteLanes & High;
        if ((low | del) != 0)
            count += std::count_if(units + i, units + i + 4, isStrayControl);
    }
    return count + std::count_if(units + i, units + size, isStrayControl);
}

QString removed(const QString &text)
{
    const qsizetype controls = count(text);
    if (controls == 0)
        return text;
    const char16_t *begin = reinterpret_cast<const char16_t *>(text.constData());
    QString cleaned;
    cleaned.reserve(text.size() - controls);
    std::copy_if(begin, begin + text.size(), std::back_inserter(cleaned),
                 [](char16_t c) { return !isStrayControl(c); });
    return cleaned;
}

} // namespace StrayControls
