#include "find/FindPanelFilters.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/StoreContact.h"
#include "platform/StoreLabels.h"
#include "ui/widgets/LabelPopup.h"

namespace {

const QString All = QStringLiteral("All");
const QStringList LabelledKinds{QStringLiteral("Phone"),          QStringLiteral("Email"),
                                QStringLiteral("Address"),        QStringLiteral("URL"),
                                QStringLiteral("Social Network"), QStringLiteral("Instant Message"),
                                QStringLiteral("Relationship"),   QStringLiteral("Dates")};

QStringList itemList(const QVariantList &customItems)
{
    QStringList items = QNPerson::allIdentifiers();
    for (const QVariant &item : customItems)
        items.append(item.toMap().value(PersonKey::ItemName).toString());
    const qsizetype address = items.indexOf(QStringLiteral("Address"));
    if (address >= 0) {
        const QStringList parts{PersonKey::ZIP, PersonKey::State, PersonKey::City, PersonKey::Street,
                                PersonKey::Country};
        for (qsizetype i = 0; i < parts.size(); ++i)
            items.insert(address + 1 + i, parts.at(i));
    }
    items.prepend(All);
    return items;
}

QStringList subItemList()
{
    return {All,
            PersonKey::FirstName,
            PersonKey::MiddleName,
            PersonKey::LastName,
            PersonIdentifier::PhoneticFirstName,
            PersonIdentifier::PhoneticMiddleName,
            PersonIdentifier::PhoneticLastName,
            PersonKey::ZIP,
            PersonKey::State,
            PersonKey::City,
            PersonKey::Street,
            PersonKey::Country,
            QStringLiteral("CountryCode"),
            StoreIMService::AIM,
            StoreIMService::Facebook,
            StoreIMService::GaduGadu,
            StoreIMService::GoogleTalk,
            StoreIMService::ICQ,
            StoreIMService::Jabber,
            StoreIMService::MSN,
            StoreIMService::QQ,
            StoreIMService::Skype,
            StoreIMService::Yahoo};
}

} // namespace

FindPanelFilters::FindPanelFilters(const QStringList &selectedItems, const QVariantList &customItems)
    : m_items(itemList(customItems)), m_subItems(subItemList()), m_labelChoices(makeLabelChoices()),
      m_selectedItems(selectedItems.isEmpty() ? QStringList{All} : selectedItems), m_selectedSubItems{All},
      m_selectedLabels{All}, m_selectedLocalizedLabels{L(All)}
{
}

QList<FindPanelFilters::LabelChoice> FindPanelFilters::makeLabelChoices()
{
    QList<LabelChoice> choices{{All, L(All)}};
    const QNPerson::LabelTable table = QNPerson::labelTableDict();
    for (const QString &kind : LabelledKinds) {
        // Each label is titled from itself, so that custom labels (which the table appends to the
        // labels but not to the display texts) keep their own title.
        for (const QString &label : table.value(kind)) {
            if (!label.isEmpty())
                choices.append({label, LabelPopup::localizedLabel(label)});
        }
    }
    if (choices.size() == 1) {
        for (const QString &label : {QStringLiteral("home"), QStringLiteral("work"), QStringLiteral("other")})
            choices.append({label, LabelPopup::localizedLabel(label)});
    }
    return choices;
}

void FindPanelFilters::choose(QStringList &filter, const QString &key)
{
    if (key == All) {
        filter = QStringList{All};
        return;
    }
    filter.removeAll(All);
    if (!filter.contains(key))
        filter.append(key);
    else if (filter.size() > 1)
        filter.removeAll(key);
    // Choosing the one entry again keeps it: the filter never becomes empty.
}

void FindPanelFilters::chooseLabel(const QString &label, const QString &title)
{
    if (label == All) {
        m_selectedLabels = QStringList{All};
        m_selectedLocalizedLabels = QStringList{L(All)};
        return;
    }
    const qsizetype all = m_selectedLabels.indexOf(All);
    if (all >= 0) {
        m_selectedLabels.removeAt(all);
        m_selectedLocalizedLabels.removeAt(all);
    }
    const qsizetype at = m_selectedLabels.indexOf(label);
    if (at < 0) {
        m_selectedLabels.append(label);
        m_selectedLocalizedLabels.append(title);
    } else if (m_selectedLabels.size() > 1) {
        m_selectedLabels.removeAt(at);
        m_selectedLocalizedLabels.removeAt(at);
    }
}

QString FindPanelFilters::displayText(const QString &key)
{
    return key == All ? L(All) : QNPerson::localizedIdentifierForKey(key);
}

QString FindPanelFilters::titleOf(const QString &caption, const QStringList &filter)
{
    if (filter == QStringList{All})
        return QStringLiteral("%1 - %2").arg(L(caption), L(All));
    QStringList shown;
    for (const QString &key : filter)
        shown.append(displayText(key));
    return QStringLiteral("%1 - %2 ").arg(L(caption), shown.join(QStringLiteral(" + ")));
}

QString FindPanelFilters::labelTitle() const
{
    if (m_selectedLabels == QStringList{All})
        return QStringLiteral("%1 - %2").arg(L(QStringLiteral("Label")), L(All));
    return QStringLiteral("%1 - %2").arg(L(QStringLiteral("Label")), m_selectedLocalizedLabels.join(QLatin1Char('+')));
}
