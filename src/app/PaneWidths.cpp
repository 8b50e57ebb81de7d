#include "app/PaneWidths.h"

#include "addressbook/DefaultsKey.h"
#include "platform/UserDefaults.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>
#include <QSplitter>
#include <QWidget>

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
    // None stored: the pane is fitted to its values when it first opens.
    m_detail = stored.value(DetailKey).toInt();
    QList<int> sizes = splitView->sizes();
    sizes[Sidebar] = m_sidebar;
    sizes[Detail] = m_detail > 0 ? m_detail : storedWidth({}, DetailKey);
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
    if (m_detail <= 0)
        m_detail = storedWidth({}, DetailKey);
    m_defaults.setObject(QVariantMap{{SidebarKey, m_sidebar}, {DetailKey, m_detail}},
                         DefaultsKey::PaneWidths);
}

int PaneWidths::fittedDetailWidth(const QFont &font)
{
    const QFontMetrics metrics(font);
    // The label column with its icon, the label menu with its arrow, the value, the scroll bar and
    // the cells' margins.
    return metrics.horizontalAdvance(QStringLiteral("Phonetic Name")) +
           metrics.horizontalAdvance(QStringLiteral("mobile")) +
           metrics.horizontalAdvance(QStringLiteral("kenta.yamamoto@example.jp")) + 6 * metrics.height();
}

void PaneWidths::openDetail(const QFont &valueFont)
{
    if (!m_splitView)
        return;
    if (m_detail <= 0)
        m_detail = qMax(storedWidth({}, DetailKey), fittedDetailWidth(valueFont));
    QSplitter &split = *m_splitView;
    QWidget *sidebar = split.widget(Sidebar);
    QWidget *middle = split.widget(1);
    QWidget *detail = split.widget(Detail);
    const bool withSidebar = sidebar->isVisibleTo(&split);
    const int handles = split.handleWidth() * (withSidebar ? 2 : 1);
    const int side = withSidebar ? sidebar->width() : 0;
    const int gridLeast = qMax(middle->minimumWidth(), middle->minimumSizeHint().width());
    const int deficit = side + gridLeast + m_detail + handles - split.width();
    QWidget *window = split.window();
    if (deficit > 0 && window->isVisible() && !window->isMaximized() && !window->isFullScreen() &&
        window->screen()) {
        const int room = window->screen()->availableGeometry().right() - window->frameGeometry().right();
        window->resize(window->width() + qMin(deficit, qMax(0, room)), window->height());
        // The split view takes the window's new width now, not at the next layout pass.
        if (window->layout())
            window->layout()->activate();
    }
    const int kept = m_detail;
    detail->show();
    QList<int> sizes = split.sizes();
    const int total = sizes[Sidebar] + sizes[1] + sizes[Detail];
    sizes[Detail] = kept;
    sizes[1] = qMax(gridLeast, total - sizes[Sidebar] - kept);
    split.setSizes(sizes);
}
