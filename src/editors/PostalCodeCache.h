#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>

// The repacked postal-code tables of one process, loaded once on first use.
//
// The grid warms the shared cache on the pool while an address editor may ask for it on the main
// thread: callers that arrive during the load wait for it, and the texts are published whole and
// never changed afterwards, so any thread may read them without a lock.
class PostalCodeCache
{
public:
    struct Source
    {
        QString path;
        QString tableName;
    };

    explicit PostalCodeCache(QList<Source> sources);

    // The bundled "ken_all" and "jigyosyo" tables.
    static PostalCodeCache &shared();

    // The texts in source order; a table whose file cannot be read is left out, a corrupt one is
    // empty. Loads them first when nobody has.
    const QStringList &texts();
    bool isLoaded() const { return m_loaded.load(std::memory_order_acquire); }
    // How many loads ran; one for the life of the cache.
    int loadCount() const { return m_loadCount.load(); }

private:
    void load();

    const QList<Source> m_sources;
    std::once_flag m_once;
    QStringList m_texts;
    std::atomic<bool> m_loaded = false;
    std::atomic<int> m_loadCount = 0;
};
