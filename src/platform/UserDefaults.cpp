#include "platform/UserDefaults.h"

#include "platform/FileWriter.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>
#include <limits>

namespace {

qint64 truncatedToInteger(double value)
{
    if (std::isnan(value))
        return 0;
    // Beyond the range of qint64 a plain cast is undefined.
    if (value >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (value <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return qint64(value);
}

float narrowedToFloat(double value)
{
    // Beyond the range of float a plain cast is undefined.
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (std::abs(value) > double(std::numeric_limits<float>::max()))
        return value > 0 ? infinity : -infinity;
    return float(value);
}

bool isNumber(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Double || type == QMetaType::Bool;
}

bool textIsTrue(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"yes", Qt::CaseInsensitive) == 0 ||
        trimmed.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    return ok && number != 0;
}

double textToDouble(const QString &text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    return ok ? number : 0;
}

qint64 textToInteger(const QString &text)
{
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    return ok ? number : truncatedToInteger(textToDouble(text));
}

} // namespace

UserDefaults &UserDefaults::standard()
{
    static UserDefaults instance;
    return instance;
}

QString UserDefaults::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/UserDefaults.json");
}

UserDefaults::UserDefaults() : UserDefaults(defaultPath()) {}

UserDefaults::UserDefaults(const QString &path) : m_path(path)
{
    load();
}

UserDefaults::~UserDefaults()
{
    if (m_unsaved)
        store();
}

QString UserDefaults::path() const
{
    return m_path;
}

QVariant UserDefaults::objectForKey(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_values.value(key);
}

QString UserDefaults::stringForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (isNumber(value))
        return QString::number(value.toLongLong());
    return QString();
}

bool UserDefaults::boolForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QString)
        return textIsTrue(value.toString());
    return isNumber(value) && value.toDouble() != 0;
}

qint64 UserDefaults::integerForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QString)
        return textToInteger(value.toString());
    if (value.typeId() == QMetaType::Double)
        return truncatedToInteger(value.toDouble());
    return isNumber(value) ? value.toLongLong() : 0;
}

float UserDefaults::floatForKey(const QString &key) const
{
    return narrowedToFloat(doubleForKey(key));
}

double UserDefaults::doubleForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QString)
        return textToDouble(value.toString());
    return isNumber(value) ? value.toDouble() : 0;
}

QVariantList UserDefaults::arrayForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList();
}

QVariantMap UserDefaults::dictionaryForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantMap ? value.toMap() : QVariantMap();
}

QByteArray UserDefaults::dataForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

QVariantMap UserDefaults::dictionaryRepresentation() const
{
    QMutexLocker lock(&m_mutex);
    return m_values;
}

void UserDefaults::setObject(const QVariant &value, const QString &key)
{
    if (!value.isValid()) {
        removeObjectForKey(key);
        return;
    }
    const std::optional<QJsonValue> json = PropertyList::toJson(value);
    if (!json) {
        Log::write("UserDefaults: ERROR refused a value of type %s for key %@, not a property list",
                   {QString::fromLatin1(value.typeName()), key});
        return;
    }
    QMutexLocker lock(&m_mutex);
    // Kept as the file will give it back, so a value reads the same before and after a restart.
    m_values.insert(key, PropertyList::fromJson(*json));
    storeAfterChange();
}

void UserDefaults::setBool(bool value, const QString &key)
{
    setObject(value, key);
}

void UserDefaults::setInteger(qint64 value, const QString &key)
{
    setObject(value, key);
}

void UserDefaults::setDouble(double value, const QString &key)
{
    setObject(value, key);
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    QMutexLocker lock(&m_mutex);
    if (m_values.remove(key) > 0)
        storeAfterChange();
}

void UserDefaults::removePersistentDomain()
{
    QMutexLocker lock(&m_mutex);
    m_values.clear();
    storeAfterChange();
}

bool UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    return !m_unsaved || store();
}

void UserDefaults::load()
{
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        Log::write("UserDefaults: ERROR can't read %@: %@", {m_path, file.errorString()});
        m_unreadable = true;
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        const QString reason = error.error != QJsonParseError::NoError ? error.errorString()
                                                                       : QStringLiteral("not a JSON object");
        Log::write("UserDefaults: ERROR %@ is not a defaults file (%@), starting empty", {m_path, reason});
        m_unreadable = true;
        return;
    }
    m_values = PropertyList::fromJson(document.object()).toMap();
}

void UserDefaults::storeAfterChange()
{
    m_unsaved = true;
    store();
}

// Called with m_mutex held, so writers never interleave and the file always holds the latest values.
bool UserDefaults::store()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (m_unreadable && QFile::exists(m_path)) {
        // The unreadable file is kept aside rather than lost with the first write.
        const QString backup = m_path + QStringLiteral(".unreadable");
        QFile::remove(backup);
        if (!QFile::copy(m_path, backup)) {
            Log::write("UserDefaults: ERROR can't keep the unreadable defaults file as %@", {backup});
            return false;
        }
        Log::write("UserDefaults: the unreadable defaults file was kept as %@", {backup});
    }
    m_unreadable = false;
    const std::optional<QJsonValue> json = PropertyList::toJson(m_values);
    if (!json) {
        Log::write("UserDefaults: ERROR can't write %@: a value is no property list", {m_path});
        return false;
    }
    const StoreStatus written =
        FileWriter::write(m_path, QJsonDocument(json->toObject()).toJson(QJsonDocument::Indented));
    if (!written.ok()) {
        Log::write("UserDefaults: ERROR can't write %@: %@", {m_path, written.error});
        return false;
    }
    m_unsaved = false;
    return true;
}
