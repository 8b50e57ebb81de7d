#include "find/FindPanelValueDelegate.h"

#include "find/FindPanelResultsModel.h"
#include "ui/widgets/ValueFields.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <limits>

FindPanelValueDelegate::FindPanelValueDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
    setItemEditorFactory(ValueFields::itemEditorFactory());
}

void FindPanelValueDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const auto ranges = index.data(FindPanelResultsModel::RangesRole).value<QList<MatchScan::TextRange>>();
    if (ranges.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    const QString text = shown.text;
    shown.text.clear();
    QStyle *style = shown.widget ? shown.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &shown, painter, shown.widget);

    const int current = index.data(FindPanelResultsModel::CurrentRangeRole).toInt();
    QList<QTextLayout::FormatRange> formats;
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        const MatchScan::TextRange &range = ranges.at(i);
        if (range.location < 0 || range.length <= 0 || range.location + range.length > text.size())
            continue;
        QTextLayout::FormatRange format;
        format.start = int(range.location);
        format.length = int(range.length);
        format.format.setBackground(i == current ? QColor(255, 149, 0)
                                                 : option.palette.color(QPalette::Highlight).lighter(160));
        formats.append(format);
    }
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, shown.widget) + 1;
    const QRect textRect = shown.rect.adjusted(margin, 0, -margin, 0);
    QTextLayout layout(text, shown.font);
    layout.setFormats(formats);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(textOption);
    layout.beginLayout();
    qreal y = 0;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::numeric_limits<int>::max() / 4);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    painter->save();
    painter->setClipRect(textRect);
    const qreal top = textRect.top() + std::max<qreal>(0, (textRect.height() - y) / 2);
    painter->setPen(shown.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                              : QPalette::Text));
    layout.draw(painter, QPointF(textRect.left(), top));
    painter->restore();
}
