#include "platform/Localizer.h"

#include "platform/Log.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace {

QString tablePath(const QString &language)
{
    return QStringLiteral(":/l10n/%1.json").arg(language);
}

QHash<QString, QString> readTable(const QString &language)
{
    QFile file(tablePath(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject()) {
        Log::write("Localizer: ERROR the table %@ is not a JSON object", {file.fileName()});
        return {};
    }
    QHash<QString, QString> table;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        table.insert(it.key(), it.value().toString());
    return table;
}

// "zh-Hant-TW" is looked for as "zh-Hant-TW", "zh-Hant", "zh".
QStringList tableNamesFor(QString language)
{
    language.replace(u'_', u'-');
    QStringList names;
    while (!language.isEmpty()) {
        names.append(language);
        const qsizetype dash = language.lastIndexOf(u'-');
        language.truncate(dash < 0 ? 0 : dash);
    }
    return names;
}

} // namespace

Localizer &Localizer::shared()
{
    static Localizer instance;
    return instance;
}

Localizer::Localizer()
    : m_languages(QLocale::system().uiLanguages()), m_localization(localizationFor(m_languages))
{
}

QString Localizer::localizedString(const QString &key, const QString &fallback) const
{
    QMutexLocker lock(&m_mutex);
    if (m_recordedKeys)
        m_recordedKeys->insert(key);
    const QHash<QString, QString> &texts = table(m_localization);
    const auto found = texts.constFind(key);
    if (found != texts.constEnd())
        return *found;
    return fallback.isEmpty() ? key : fallback;
}

QString Localizer::localization() const
{
    QMutexLocker lock(&m_mutex);
    return m_localization;
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
    m_localization = localizationFor(languages);
}

void Localizer::setRecordedKeys(QSet<QString> *keys)
{
    QMutexLocker lock(&m_mutex);
    m_recordedKeys = keys;
}

// Called with m_mutex held; a table is read once, also when it does not exist.
const QHash<QString, QString> &Localizer::table(const QString &language) const
{
    auto found = m_tables.find(language);
    if (found == m_tables.end())
        found = m_tables.insert(language, readTable(language));
    return *found;
}

QString Localizer::localizationFor(const QStringList &languages)
{
    for (const QString &language : languages) {
        for (const QString &name : tableNamesFor(language)) {
            if (QFile::exists(tablePath(name)))
                return name;
        }
    }
    return QStringLiteral("en"); // the language the keys are written in
}

QString L(const QString &key)
{
    return Localizer::shared().localizedString(key);
}
