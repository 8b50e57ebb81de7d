#include "grid/CollationKeys.h"

#include <QByteArray>
#include <QHash>
#include <QLocale>

#include <unicode/ucol.h>

#include <cstring>

namespace {

constexpr size_t InitialKeyRoom = 64;
// Enough for every text of a large address book in a few sorts; beyond it the cache starts over.
constexpr qsizetype MaximumCachedKeys = 250000;

// Keys made on this thread under one locale. The grid sorts the same texts again on every update,
// and finding a key costs a small fraction of making it. The texts are shared, not copied.
struct KeyCache
{
    QString locale;
    QHash<QString, QByteArray> keys;
};

KeyCache &keyCache(const QString &locale)
{
    thread_local KeyCache cache;
    if (cache.locale != locale || cache.keys.size() >= MaximumCachedKeys) {
        cache.keys.clear();
        cache.locale = locale;
    }
    return cache;
}

} // namespace

CollationKeys::CollationKeys() : m_locale(QLocale().name())
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(m_locale.toLatin1().constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_collator = ucol_open("", &status);
        m_locale.clear();
    }
    // Secondary strength: accents count, case does not.
    if (m_collator)
        ucol_setStrength(m_collator, UCOL_SECONDARY);
}

CollationKeys::CollationKeys(UCollator *collator, const QString &locale)
    : m_collator(collator), m_locale(locale)
{
}

std::unique_ptr<CollationKeys> CollationKeys::clone() const
{
    UCollator *copy = nullptr;
    if (m_collator) {
        UErrorCode status = U_ZERO_ERROR;
        copy = ucol_clone(m_collator, &status);
        if (U_FAILURE(status) || !copy)
            return nullptr;
    }
    return std::unique_ptr<CollationKeys>(new CollationKeys(copy, m_locale));
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
    KeyCache &cache = keyCache(m_locale);
    if (const auto cached = cache.keys.constFind(text); cached != cache.keys.constEnd()) {
        m_bytes.insert(m_bytes.end(), cached->cbegin(), cached->cend());
        return size() - 1;
    }
    makeKey(text, offset);
    cache.keys.insert(text, QByteArray(m_bytes.data() + offset, qsizetype(m_bytes.size() - offset)));
    return size() - 1;
}

void CollationKeys::makeKey(const QString &text, size_t offset)
{
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
}

QByteArray CollationKeys::key(const QString &text) const
{
    if (!m_collator)
        return text.toCaseFolded().toUtf8();
    const auto *source = reinterpret_cast<const UChar *>(text.utf16());
    QByteArray bytes(qsizetype(std::max(InitialKeyRoom, size_t(text.size()) * 4 + 8)), Qt::Uninitialized);
    for (;;) {
        const int32_t needed =
            ucol_getSortKey(m_collator, source, int32_t(text.size()),
                            reinterpret_cast<uint8_t *>(bytes.data()), int32_t(bytes.size()));
        if (needed <= 0)
            return QByteArray();
        if (needed <= bytes.size()) {
            // The length counts the final zero byte, which QByteArray keeps after its end.
            bytes.truncate(needed - 1);
            return bytes;
        }
        bytes.resize(needed);
    }
}

int CollationKeys::compare(qsizetype first, qsizetype second) const
{
    return std::strcmp(m_bytes.data() + m_offsets[size_t(first)], m_bytes.data() + m_offsets[size_t(second)]);
}
