#include "platform/PrintInfo.h"

#include <QLocale>
#include <QPageSize>

namespace {

// Letter where the locale measures in inches, A4 elsewhere; margins of half an inch.
QPageLayout defaultLayout()
{
    const QPageSize paper(QLocale::system().measurementSystem() == QLocale::MetricSystem ? QPageSize::A4
                                                                                         : QPageSize::Letter);
    return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

} // namespace

PrintInfo &PrintInfo::shared()
{
    static PrintInfo info;
    return info;
}

PrintInfo::PrintInfo() : m_pageLayout(defaultLayout()) {}

void PrintInfo::setMargins(const QMarginsF &margins)
{
    m_pageLayout.setMinimumMargins(QMarginsF());
    m_pageLayout.setMargins(margins);
}
