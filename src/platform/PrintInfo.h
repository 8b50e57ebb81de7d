#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The page set-up every print of the process shares: paper, orientation, margins (in points),
// centring, and a dictionary of settings that the print panel's accessory and the print command
// exchange ("FenwardePrintType", ...).
class PrintInfo
{
public:
    static PrintInfo &shared();

    PrintInfo();

    QVariantMap dictionary() const { return m_dictionary; }
    QVariant value(const QString &key) const { return m_dictionary.value(key); }
    void setValue(const QString &key, const QVariant &value) { m_dictionary.insert(key, value); }

    // Paper size, orientation and margins together.
    QPageLayout pageLayout() const { return m_pageLayout; }
    void setPageLayout(const QPageLayout &layout) { m_pageLayout = layout; }
    QMarginsF margins() const { return m_pageLayout.margins(QPageLayout::Point); }
    void setMargins(const QMarginsF &margins);

    bool isHorizontallyCentered() const { return m_horizontallyCentered; }
    void setHorizontallyCentered(bool centered) { m_horizontallyCentered = centered; }
    bool isVerticallyCentered() const { return m_verticallyCentered; }
    void setVerticallyCentered(bool centered) { m_verticallyCentered = centered; }

private:
    QVariantMap m_dictionary;
    QPageLayout m_pageLayout;
    bool m_horizontallyCentered = true;
    bool m_verticallyCentered = true;
};
