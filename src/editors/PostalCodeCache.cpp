#include "editors/PostalCodeCache.h"

#include "editors/JapanPostalCodes.h"

#include <utility>

PostalCodeCache::PostalCodeCache(QList<Source> sources) : m_sources(std::move(sources)) {}

PostalCodeCache &PostalCodeCache::shared()
{
    // Never destroyed: a preload may still be filling it on the pool while the process exits.
    static auto *cache = new PostalCodeCache({{QStringLiteral(":/ken_all.gzip"), JapanPostalCodes::ResidentialTable},
                                              {QStringLiteral(":/jigyosyo.gzip"), JapanPostalCodes::BusinessTable}});
    return *cache;
}

const QStringList &PostalCodeCache::texts()
{
    std::call_once(m_once, [this] { load(); });
    return m_texts;
}

void PostalCodeCache::load()
{
    ++m_loadCount;
    QStringList texts;
    for (const Source &source : m_sources) {
        if (const std::optional<QString> text = JapanPostalCodes::loadTable(source.path, source.tableName))
            texts.append(*text);
    }
    m_texts = std::move(texts);
    m_loaded.store(true, std::memory_order_release);
}
