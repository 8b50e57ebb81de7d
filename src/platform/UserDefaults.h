#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The user's defaults domain of the application: a JSON file of property-list values (strings,
// booleans, integers, reals, arrays, dictionaries and data) in the edition's config folder.
//
// Every write goes to the file at once, atomically; a file that cannot be read as a defaults file
// reads as empty and stays untouched until the next write. Values read back as the file would give
// them: a whole-numbered real reads back as an integer, a string list as a list of strings. Safe to
// use from several threads.
class UserDefaults
{
public:
    // The domain of this process, at defaultPath().
    static UserDefaults &standard();
    static QString defaultPath();

    UserDefaults();
    explicit UserDefaults(const QString &path);
    ~UserDefaults();
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    QString path() const;

    // An invalid QVariant when the key is absent.
    QVariant objectForKey(const QString &key) const;
    // A null string when absent or neither a string nor a number.
    QString stringForKey(const QString &key) const;
    // "YES", "true" and non-zero numbers are true; anything else, or nothing, is false.
    bool boolForKey(const QString &key) const;
    qint64 integerForKey(const QString &key) const;
    float floatForKey(const QString &key) const;
    double doubleForKey(const QString &key) const;
    // Empty when absent or of another type; objectForKey tells an empty value from none.
    QVariantList arrayForKey(const QString &key) const;
    QVariantMap dictionaryForKey(const QString &key) const;
    QByteArray dataForKey(const QString &key) const;
    QVariantMap dictionaryRepresentation() const;

    // An invalid value removes the key; a value that is no property list is refused and logged.
    void setObject(const QVariant &value, const QString &key);
    void setBool(bool value, const QString &key);
    void setInteger(qint64 value, const QString &key);
    void setDouble(double value, const QString &key);
    void removeObjectForKey(const QString &key);
    // Removes every key of the domain: the restore-defaults reset.
    void removePersistentDomain();

    // Writes what an earlier failed write left unsaved; false when the file cannot be written.
    bool synchronize();

private:
    void load();
    bool store();
    void storeAfterChange();

    const QString m_path;
    mutable QMutex m_mutex;
    QVariantMap m_values;
    bool m_unsaved = false;
    bool m_unreadable = false;
};
