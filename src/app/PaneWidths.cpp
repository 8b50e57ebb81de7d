#include "app/PaneWidths.h"

#include "addressbook/DefaultsKey.h"
#include "platform/UserDefaults.h"

#include <QEvent>
#include <QSplitter>

namespace {

const QString SidebarKey = QStringLiteral("sidebar");
const QString DetailKey = QStringLiteral("detail");
constexpr int Sidebar = 0;
constexpr int Detail = 2;

int storedWidth(const QVariantMap &stored, const QString &key)
{
    const int width = stored.value(key).toInt();
    return width > 0 ? width : DefaultsKey::defaultValue(DefaultsKey::PaneWidths).toMap().value(key).toInt();
}

} // namespace

// The split view keeps the size given to a hidden child for when it is shown again.
PaneWidths::PaneWidths(QSplitter *splitView, UserDefaults &defaults)
    : QObject(splitView), m_splitView(splitView), m_defaults(defaults)
{
    const QVariantMap stored = defaults.dictionaryForKey(DefaultsKey::PaneWidths);
    m_sidebar = storedWidth(stored, SidebarKey);
    m_detail = storedWidth(stored, DetailKey);
    QList<int> sizes = splitView->sizes();
    sizes[Sidebar] = m_sidebar;
    sizes[Detail] = m_detail;
    splitView->setSizes(sizes);
    splitView->widget(Sidebar)->installEventFilter(this);
    splitView->widget(Detail)->installEventFilter(this);
}

bool PaneWidths::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Resize || !m_splitView)
        return false;
    auto *pane = static_cast<QWidget *>(watched);
    if (!pane->isVisibleTo(m_splitView) || pane->width() <= 0)
        return false;
    (pane == m_splitView->widget(Sidebar) ? m_sidebar : m_detail) = pane->width();
    return false;
}

void PaneWidths::save()
{
    m_defaults.setObject(QVariantMap{{SidebarKey, m_sidebar}, {DetailKey, m_detail}}, DefaultsKey::PaneWidths);
}
