#pragma once

#include "print/PageGeometry.h"
#include "print/TextObject.h"
#include "ui/contracts/SubContactRow.h"

#include <QRectF>
#include <QString>
#include <QVariantMap>

#include <optional>

class QPageSize;
class QPainter;

// The "Envelope" style: one row per page, its block fitted to the text box of the paper.
class EnvelopePages
{
public:
    // The options of the whole print; the font for horizontal text; the paper's name keys its box.
    EnvelopePages(const QVariantMap &options, const QString &fontName, const PageGeometry &paper,
                  const QString &paperName);

    // The name under which "textRectDict" keeps a paper's text box.
    static QString paperName(const QPageSize &pageSize);
    // The box stored for the paper, else a third of its width by a fifth of its height, centred.
    QRectF textRect() const;
    // The row's block fitted to the box; nothing without a row.
    std::optional<TextObject> makeTextObject(const SubContactRow *row) const;
    void drawPage(QPainter &painter, const SubContactRow *row) const;

    static constexpr double FrameWidth = 1.5;
    static constexpr double FrameOutset = 3.0;

private:
    QVariantMap m_envelopeOptions;
    QString m_fontName;
    PageGeometry m_paper;
    QString m_paperName;
    double m_leftMargin = 0;
    double m_topMargin = 0;
};

// A rectangle in the "{{x, y}, {w, h}}" form the options store; nothing for any other text.
std::optional<QRectF> rectFromString(const QString &text);
