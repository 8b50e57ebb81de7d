#include "platform/StoreTextPool.h"

QString StoreTextPool::text(QByteArrayView utf8)
{
    if (utf8.isEmpty() || utf8.size() > MaximumLength)
        return QString::fromUtf8(utf8);
    const std::string_view key(utf8.data(), size_t(utf8.size()));
    if (const auto found = m_texts.find(key); found != m_texts.end())
        return found->second;
    QString text = QString::fromUtf8(utf8);
    if (m_texts.size() < MaximumCount)
        m_texts.emplace(std::string(key), text);
    return text;
}
