#pragma once

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

// Looks user-visible texts up in the tables of resources/l10n/ (one JSON object of key to text per
// language), like localized strings: the English text is the key and a missing key returns itself.
class Localizer
{
public:
    static Localizer &shared();

    // The text for key in the table of the first preferred language that has a table (English when
    // none has); the fallback (or the key when the fallback is null or empty) when that table lacks
    // it. Other languages are not searched: an English user must not get a Japanese text.
    QString localizedString(const QString &key, const QString &fallback = QString()) const;

    // The language whose table is used ("en", "ja").
    QString localization() const;
    // The user's preferred languages, most wanted first ("ja", "en-US", ...).
    QStringList preferredLanguages() const;
    // Test hook: replaces the languages taken from the system.
    void setPreferredLanguages(const QStringList &languages);
    // Test hook: while keys is set, every key looked up is added to it, so that a test can gather
    // the keys that tables and widgets look up at run time.
    void setRecordedKeys(QSet<QString> *keys);

private:
    Localizer();
    const QHash<QString, QString> &table(const QString &language) const;
    static QString localizationFor(const QStringList &languages);

    mutable QMutex m_mutex;
    QStringList m_languages;
    QString m_localization;
    QSet<QString> *m_recordedKeys = nullptr;
    mutable QHash<QString, QHash<QString, QString>> m_tables;
};

// Shorthand for Localizer::shared().localizedString(key).
QString L(const QString &key);
