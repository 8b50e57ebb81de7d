#include "grid/CollationKeys.h"

#include <QLocale>

#include <unicode/ucol.h>

#include <cstring>

namespace {

constexpr size_t InitialKeyRoom = 64;

} // namespace

CollationKeys::CollationKeys()
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(QLocale().name().toLatin1().constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_collator = ucol_open("", &status);
    }
    // Secondary strength: accents count, case does not.
    if (m_collator)
        ucol_setStrength(m_collator, UCOL_SECONDARY);
}

CollationKeys::~CollationKeys()
{
    if (m_collator)
        ucol_close(m_collator);
}

qsizetype CollationKeys::add(const QString &text)
{
    const size_t offset = m_bytes.size();
    m_offsets.push_back(offset);
    if (!m_collator) {
        const QByteArray folded = text.toCaseFolded().toUtf8();
        m_bytes.insert(m_bytes.end(), folded.cbegin(), folded.cend());
        m_bytes.push_back('\0');
        return size() - 1;
    }
    const auto *source = reinterpret_cast<const UChar *>(text.utf16());
    size_t room = std::max(InitialKeyRoom, size_t(text.size()) * 4 + 8);
    for (;;) {
        m_bytes.resize(offset + room);
        const int32_t needed =
            ucol_getSortKey(m_collator, source, int32_t(text.size()),
                            reinterpret_cast<uint8_t *>(m_bytes.data() + offset), int32_t(room));
        if (needed <= 0) {
            m_bytes.resize(offset + 1);
            m_bytes[offset] = '\0';
            break;
        }
        if (size_t(needed) <= room) {
            // The key's length counts its final zero byte.
            m_bytes.resize(offset + size_t(needed));
            break;
        }
        room = size_t(needed);
    }
    return size() - 1;
}

int CollationKeys::compare(qsizetype first, qsizetype second) const
{
    return std::strcmp(m_bytes.data() + m_offsets[size_t(first)], m_bytes.data() + m_offsets[size_t(second)]);
}
