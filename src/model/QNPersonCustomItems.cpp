#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<CloudKeyValueStore *> g_cloudStore = nullptr;

bool isNil(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// An entry of a custom list: "stringValue" shows "value", and the number is an int again after a
// trip through JSON.
QVariantMap customEntry(const QVariantMap &given)
{
    QVariantMap entry = given;
    if (entry.contains(PersonKey::Value))
        entry.insert(PersonKey::StringValue, entry.value(PersonKey::Value).toString());
    const QVariant number = entry.value(PersonKey::LabelIndex);
    if (number.isValid())
        entry.insert(PersonKey::LabelIndex, number.toInt());
    return entry;
}

// The maps of a value that is one entry or a list of entries.
QVariantList givenEntries(const QVariant &value)
{
    if (value.typeId() == QMetaType::QVariantMap)
        return {value};
    QVariantList entries;
    if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant &entry : value.toList()) {
            if (entry.typeId() == QMetaType::QVariantMap)
                entries.append(entry);
        }
    }
    return entries;
}

// A whole list as given, numbers kept; entries without one are numbered after the largest.
QVariantList customEntries(const QVariantList &entries)
{
    QVariantList list;
    for (const QVariant &entry : entries)
        list.append(customEntry(entry.toMap()));
    QNPerson::numberNewEntries(list);
    return list;
}

// The list of a new item: numbered by position.
QVariantList numberedByPosition(const QVariantList &entries)
{
    QVariantList list;
    for (const QVariant &given : entries) {
        QVariantMap entry = customEntry(given.toMap());
        entry.insert(PersonKey::LabelIndex, static_cast<int>(list.size()));
        list.append(entry);
    }
    return list;
}

// The labels that the entries use, once each; an empty label offers nothing.
QStringList entryLabels(const QVariantList &entries)
{
    QStringList labels;
    for (const QVariant &entry : entries) {
        const QString label = entry.toMap().value(PersonKey::Label).toString();
        if (!label.isEmpty() && !labels.contains(label))
            labels.append(label);
    }
    return labels;
}

} // namespace

// --- The cloud store -----------------------------------------------------------------------------

void QNPerson::setCloudKeyValueStore(CloudKeyValueStore *store)
{
    g_cloudStore = store;
}

CloudKeyValueStore &QNPerson::cloudKeyValueStore()
{
    CloudKeyValueStore *store = g_cloudStore;
    return store ? *store : CloudKeyValueStore::defaultStore();
}

QVariant QNPerson::cloudCustomValue(const QString &name)
{
    const std::optional<QVariantMap> entry = cloudKeyValueStore().dictionaryForKey(uniqueId());
    return entry ? entry->value(name) : QVariant();
}

// --- Definitions ---------------------------------------------------------------------------------

QStringList QNPerson::customIdentifiers() const
{
    QStringList names;
    for (const QVariant &definition : m_customItems)
        names.append(definition.toMap().value(PersonKey::ItemName).toString());
    return names;
}

qsizetype QNPerson::firstCustomItemPosition(const QString &name) const
{
    for (qsizetype position = 0; position < m_customItems.size(); ++position) {
        if (m_customItems[position].toMap().value(PersonKey::ItemName).toString() == name)
            return position;
    }
    return -1;
}

std::optional<QVariantMap> QNPerson::lastCustomItemForName(const QString &name) const
{
    for (auto it = m_customItems.crbegin(); it != m_customItems.crend(); ++it) {
        const QVariantMap definition = it->toMap();
        if (definition.value(PersonKey::ItemName).toString() == name)
            return definition;
    }
    return std::nullopt;
}

bool QNPerson::isLabeledCustomItem(const QString &name) const
{
    const std::optional<QVariantMap> definition = lastCustomItemForName(name);
    return definition && definition->value(PersonKey::ItemType).toString() == PersonValueType::Labeled;
}

std::optional<QVariantMap> QNPerson::customItemForIdentifier(const QString &identifier) const
{
    const qsizetype position = firstCustomItemPosition(identifier);
    if (position < 0)
        return std::nullopt;
    return m_customItems[position].toMap();
}

void QNPerson::addCustomItem(const QString &type, const QString &name, const QStringList &labels,
                             const std::optional<QByteArray> &imageData)
{
    LabelTable offered;
    addCustomItem(type, name, labels, imageData, offered);
    if (!offered.isEmpty())
        LabelTables::shared().offerLabels(offered);
}

void QNPerson::addCustomItem(const QString &type, const QString &name, const QStringList &labels,
                             const std::optional<QByteArray> &imageData, LabelTable &collected)
{
    qsizetype position = firstCustomItemPosition(name);
    if (position < 0) {
        // In the order of their names, which is the order a load restores them in from the cloud
        // store's entry: the record reads the same before a save and after it.
        const auto after =
            std::find_if(m_customItems.cbegin(), m_customItems.cend(), [&](const QVariant &item) {
                return name < item.toMap().value(PersonKey::ItemName).toString();
            });
        position = after - m_customItems.cbegin();
        m_customItems.insert(position, QVariantMap());
    }
    QVariantMap definition = m_customItems[position].toMap();
    definition.insert(PersonKey::ItemType, type);
    definition.insert(PersonKey::ItemName, name);
    if (type == PersonValueType::Labeled) {
        definition.insert(PersonKey::ItemLabels, labels);
        for (const QString &label : labels) {
            if (label.isEmpty())
                continue;
            QStringList &known = collected[name];
            if (!known.contains(label))
                known.append(label);
        }
    }
    if (imageData)
        definition.insert(PersonKey::ItemImageData, *imageData);
    m_customItems[position] = definition;
    noteRevision();
}

void QNPerson::offerCustomLabels(const QString &name, const QStringList &labels)
{
    const qsizetype position = firstCustomItemPosition(name);
    if (position < 0)
        return;
    QVariantMap definition = m_customItems[position].toMap();
    QStringList offered = definition.value(PersonKey::ItemLabels).toStringList();
    for (const QString &label : labels) {
        if (label.isEmpty() || offered.contains(label))
            continue;
        offered.append(label);
        setLabel(QString(), label, name);
    }
    definition.insert(PersonKey::ItemLabels, offered);
    m_customItems[position] = definition;
    noteRevision();
}

void QNPerson::deleteCustomItemForName(const QString &name)
{
    const qsizetype position = firstCustomItemPosition(name);
    if (position < 0)
        return;
    m_customItems.removeAt(position);
    noteRevision();
    removeItem(name);
}

// --- Values --------------------------------------------------------------------------------------

QVariant QNPerson::customValueForIdentifier(const QString &identifier)
{
    const std::optional<QVariantMap> definition = lastCustomItemForName(identifier);
    if (!definition)
        return QVariant();
    if (definition->value(PersonKey::ItemType).toString() == PersonValueType::Labeled)
        return customList(identifier);
    const QVariant cached = item(identifier);
    if (cached.isValid())
        return cached;
    // Kept out of the cache, so that the save writes back only what this program holds.
    const QVariant cloud = cloudCustomValue(identifier);
    return cloud.isValid() ? cloud : QVariant(QStringLiteral(""));
}

QVariantList QNPerson::customList(const QString &name)
{
    const QVariant cached = item(name);
    if (cached.typeId() == QMetaType::QVariantList)
        return cached.toList();
    // A cached value of another kind (the item was a string item before) gives way to a list.
    const QVariant cloud = cloudCustomValue(name);
    const QVariantList list =
        customEntries(givenEntries(cloud.typeId() == QMetaType::QVariantList ? cloud : QVariant()));
    setItem(name, list);
    return list;
}

void QNPerson::setCustomValue(const QVariant &value, const QString &name)
{
    if (isLabeledCustomItem(name)) {
        // A missing list would read back from the cloud; an emptied one must stay empty.
        setItem(name, isNil(value) ? QVariantList() : customEntries(givenEntries(value)));
        return;
    }
    setItem(name, isNil(value) ? QVariant(QStringLiteral("")) : value);
}

bool QNPerson::setNewCustomValue(const QVariant &value, const QString &name)
{
    if (value.typeId() == QMetaType::QVariantList) {
        const QVariantList list = customEntries(givenEntries(value));
        addCustomItem(PersonValueType::Labeled, name, entryLabels(list), std::nullopt);
        setItem(name, list);
        return true;
    }
    if (value.typeId() == QMetaType::QString) {
        addCustomItem(PersonValueType::String, name, {}, std::nullopt);
        setItem(name, value);
        return true;
    }
    return false;
}

void QNPerson::addLabeledCustomValue(const QVariant &value, const QString &name)
{
    const QVariantList entries = givenEntries(value);
    if (entries.isEmpty())
        return;
    const std::optional<QVariantMap> definition = lastCustomItemForName(name);
    if (!definition) {
        const QVariantList list = numberedByPosition(entries);
        setItem(name, list);
        addCustomItem(PersonValueType::Labeled, name, entryLabels(list), std::nullopt);
        m_changed = true;
        return;
    }
    if (definition->value(PersonKey::ItemType).toString() != PersonValueType::Labeled)
        return;
    // Read first: a list that so far lives only in the cloud must not be replaced by the new entry.
    QVariantList list = customList(name);
    for (const QVariant &given : entries) {
        QVariantMap entry = customEntry(given.toMap());
        entry.insert(PersonKey::LabelIndex, static_cast<int>(nextLabelIndex(list)));
        list.append(entry);
    }
    setItem(name, list);
    m_changed = true;
}

void QNPerson::replaceLabeledCustomValue(const QVariant &value, const QString &name)
{
    if (typeForIdentifier(name) != PersonValueType::Labeled)
        return;
    if (isNil(value) || value.typeId() == QMetaType::QVariantList) {
        setCustomValue(value, name);
        m_changed = true;
        return;
    }
    if (value.typeId() != QMetaType::QVariantMap)
        return;
    const bool held = item(name).typeId() == QMetaType::QVariantList;
    QVariantList list = customList(name);
    QVariantMap entry = customEntry(value.toMap());
    const QVariant number = entry.value(PersonKey::LabelIndex);
    const qsizetype position = number.isValid() ? findLabeledValue(list, number.toLongLong()) : -1;
    if (position >= 0) {
        list[position] = entry;
    } else if (!number.isValid() || (!held && list.isEmpty())) {
        // Without a number the entry is new to the list.
        if (!number.isValid())
            entry.insert(PersonKey::LabelIndex, static_cast<int>(nextLabelIndex(list)));
        list.append(entry);
        // The item keeps the labels it offers; this one joins them.
        offerCustomLabels(name, {entry.value(PersonKey::Label).toString()});
    } else {
        return;
    }
    setItem(name, list);
    m_changed = true;
}
