#include "grid/GridDisplayCache.h"

#include "grid/GridField.h"

#include <QLocale>

namespace {

// Built-in fields read from the record alone; a custom item's type comes from the window.
bool isKeptIdentifier(const QString &identifier)
{
    return GridField::isAddressPart(identifier) ||
           !GridField::valueType(identifier, QVariantList()).isEmpty();
}

} // namespace

qsizetype GridSortColumn::indexAt(int position, const QStringList &selectedLabels, bool noFilter) const
{
    if (!listed)
        return values.isEmpty() ? -1 : 0;
    if (position < 0 || position >= values.size())
        return -1;
    if (!noFilter && !selectedLabels.contains(labels.at(position)))
        return -1;
    return position;
}

void GridDisplayCache::beginUpdate()
{
    const QString locale = QLocale().name();
    if (!m_collation || locale != m_locale) {
        // Every kept key was made for the previous language.
        clear();
        m_collation = std::make_unique<CollationKeys>();
        m_locale = locale;
    }
    ++m_generation;
    m_used = 0;
    m_nextByPosition.clear();
}

void GridDisplayCache::endUpdate()
{
    m_byPosition.swap(m_nextByPosition);
    // Kept records would outlive a reload that replaced them.
    if (qsizetype(m_contacts.size()) <= m_used)
        return;
    std::erase_if(m_contacts, [this](const auto &entry) { return entry.second.generation != m_generation; });
}

int GridDisplayCache::fieldSlot(const QString &identifier)
{
    const auto found = m_fieldSlots.constFind(identifier);
    if (found != m_fieldSlots.cend())
        return *found;
    const int slot = int(m_fieldKept.size());
    m_fieldSlots.insert(identifier, slot);
    m_fieldKept.push_back(isKeptIdentifier(identifier));
    return slot;
}

int GridDisplayCache::sortSlot(const QString &identifier, const QString &valueKey)
{
    const QString name = identifier + QLatin1Char('\n') + valueKey;
    const auto found = m_sortSlots.constFind(name);
    if (found != m_sortSlots.cend())
        return *found;
    const int slot = int(m_sortKept.size());
    m_sortSlots.insert(name, slot);
    m_sortKept.push_back(isKeptIdentifier(identifier));
    return slot;
}

GridDisplayCache::Contact &GridDisplayCache::contact(const QNPersonPtr &person, qsizetype position)
{
    Contact *found =
        position >= 0 && size_t(position) < m_byPosition.size() ? m_byPosition[size_t(position)] : nullptr;
    if (!found || found->person != person)
        found = &m_contacts.try_emplace(person.get()).first->second;
    if (position >= 0) {
        if (m_nextByPosition.size() <= size_t(position))
            m_nextByPosition.resize(size_t(position) + 1, nullptr);
        m_nextByPosition[size_t(position)] = found;
    }
    Contact &contact = *found;
    const quint64 revision = person->revision();
    if (!contact.person || contact.revision != revision) {
        contact = Contact();
        contact.person = person;
        contact.revision = revision;
        contact.uniqueId = person->uniqueId();
        contact.uniqueIdHash = qHash(contact.uniqueId);
    }
    if (contact.generation != m_generation) {
        contact.generation = m_generation;
        ++m_used;
    }
    return contact;
}
