#include "platform/Localizer.h"

// Placeholder until the tables are read from resources: every key is its own text.

Localizer &Localizer::shared()
{
    static Localizer instance;
    return instance;
}

Localizer::Localizer() = default;

QString Localizer::localizedString(const QString &key, const QString &fallback) const
{
    return fallback.isNull() ? key : fallback;
}

QStringList Localizer::preferredLanguages() const
{
    QMutexLocker lock(&m_mutex);
    return m_languages;
}

void Localizer::setPreferredLanguages(const QStringList &languages)
{
    QMutexLocker lock(&m_mutex);
    m_languages = languages;
}

const QHash<QString, QString> &Localizer::table(const QString &language) const
{
    return m_tables[language];
}

QString L(const QString &key)
{
    return Localizer::shared().localizedString(key);
}
