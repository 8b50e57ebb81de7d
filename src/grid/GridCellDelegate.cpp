#include "grid/GridCellDelegate.h"

#include "grid/GridField.h"
#include "grid/GridModel.h"
#include "model/QNPerson.h"
#include "ui/widgets/ValueFields.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

constexpr int Padding = 4;
// The popup's room for its bezel and arrow beside the title.
constexpr int PopupChrome = 35;
constexpr int MaximumImageSide = 32;

QList<QTextLayout::FormatRange> findFormats(const GridCell &cell)
{
    QList<QTextLayout::FormatRange> formats;
    auto add = [&formats](const FindHighlight::Range &range, const QColor &color) {
        QTextLayout::FormatRange format;
        format.start = int(range.location);
        format.length = int(range.length);
        format.format.setBackground(color);
        formats.append(format);
    };
    for (const FindHighlight::Range &range : cell.findRanges)
        add(range, GridCellDelegate::findColor());
    // Drawn over the grey of the occurrence it lies on.
    if (cell.currentHit)
        add(*cell.currentHit, GridCellDelegate::currentHitColor());
    return formats;
}

} // namespace

GridCellDelegate::GridCellDelegate(const GridState &state, QObject *parent)
    : QStyledItemDelegate(parent), m_state(state)
{
}

QColor GridCellDelegate::findColor()
{
    return QColor(170, 170, 170);
}

QColor GridCellDelegate::currentHitColor()
{
    return QColor(255, 128, 0);
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const auto *model = qobject_cast<const GridModel *>(index.model());
    if (!model)
        return;
    const GridCell cell = model->cell(index);
    QStyleOptionViewItem background(option);
    background.features = QStyleOptionViewItem::None;
    background.text.clear();
    background.icon = QIcon();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    if (cell.kind == GridCell::Kind::Footer) {
        paintFooter(painter, option, cell);
        return;
    }
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
    painter->save();
    painter->setClipRect(option.rect);
    switch (cell.kind) {
    case GridCell::Kind::Name:
        paintName(painter, option, index, cell);
        break;
    case GridCell::Kind::Text:
        paintText(painter, option.rect.adjusted(Padding, 0, -Padding, 0), m_state.selectedFont,
                  textColor(option), cell);
        break;
    case GridCell::Kind::PopupAndText:
        paintPopup(painter, option, cell);
        break;
    default:
        break;
    }
    painter->restore();
}

QSize GridCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int lines = std::max(1, index.data(GridModel::NumLinesRole).toInt());
    size.setHeight(lines * m_state.rowHeight);
    return size;
}

QColor GridCellDelegate::textColor(const QStyleOptionViewItem &option) const
{
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    return option.palette.color(group, option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                             : QPalette::Text);
}

// The first line sits in the middle of a one-line row's height; further lines follow it.
int GridCellDelegate::bandTop(const QRect &cellRect, qreal lineHeight) const
{
    return cellRect.top() + std::max(0, int((m_state.rowHeight - lineHeight) / 2));
}

int GridCellDelegate::imageSide() const
{
    return std::clamp(m_state.rowHeight - Padding, 8, MaximumImageSide);
}

void GridCellDelegate::paintText(QPainter *painter, const QRect &rect, const QFont &font, const QColor &color,
                                 const GridCell &cell) const
{
    if (cell.text.isEmpty())
        return;
    QString shown = cell.text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, font, painter->device());
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(textOption);
    layout.setFormats(findFormats(cell));
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0, y));
        // Lines keep the row's spacing, so that a two-line row holds two lines.
        y += std::max<qreal>(line.height(), m_state.rowHeight);
    }
    layout.endLayout();
    const qreal lineHeight = layout.lineCount() > 0 ? layout.lineAt(0).height() : 0;
    painter->setPen(color);
    layout.draw(painter, QPointF(rect.left(), bandTop(rect, lineHeight)));
}

void GridCellDelegate::paintName(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index, const GridCell &cell) const
{
    QRect rect = option.rect.adjusted(Padding, 0, -Padding, 0);
    if (cell.showsImage) {
        const int side = imageSide();
        const QPixmap picture = qobject_cast<const GridModel *>(index.model())->thumbnail(index);
        const QRect imageRect(rect.left(), option.rect.top() + (m_state.rowHeight - side) / 2, side, side);
        if (!picture.isNull()) {
            const QPixmap scaled = picture.scaled(imageRect.size() * painter->device()->devicePixelRatio(),
                                                  Qt::KeepAspectRatio, Qt::SmoothTransformation);
            painter->drawPixmap(imageRect, scaled);
        }
        rect.setLeft(imageRect.right() + Padding + 2);
    }
    const QColor color = textColor(option);
    paintText(painter, rect, m_state.selectedBoldfont, color, cell);
    if (!cell.detailText.isEmpty()) {
        GridCell detail;
        detail.text = cell.detailText;
        paintText(painter, rect.translated(0, m_state.rowHeight), m_state.selectedFont, color, detail);
    }
}

QRect GridCellDelegate::labelRect(const QRect &cellRect, const GridCell &cell) const
{
    if (!cell.showsLabel())
        return {};
    const QFontMetrics metrics(m_state.selectedFont);
    const int width =
        std::min(metrics.horizontalAdvance(cell.labelTitle) + PopupChrome, cellRect.width() / 2);
    const int height = std::min(m_state.rowHeight - Padding, metrics.height() + 6);
    return QRect(cellRect.left() + Padding, cellRect.top() + (m_state.rowHeight - height) / 2, width, height);
}

QRect GridCellDelegate::textRect(const QRect &cellRect, const GridCell &cell) const
{
    const QRect label = labelRect(cellRect, cell);
    const int left = label.isNull() ? cellRect.left() + Padding : label.right() + Padding + 2;
    return QRect(left, cellRect.top(), std::max(0, cellRect.right() - Padding - left), cellRect.height());
}

void GridCellDelegate::paintPopup(QPainter *painter, const QStyleOptionViewItem &option,
                                  const GridCell &cell) const
{
    if (!cell.showsLabel())
        return;
    const QRect label = labelRect(option.rect, cell);
    QPainterPath bezel;
    bezel.addRoundedRect(QRectF(label).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(bezel, option.palette.button());
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawPath(bezel);
    // The arrow marks a popup; locked, it offers the value's own label only.
    const QPointF tip(label.right() - 10, label.center().y() + 2);
    QPainterPath arrow;
    arrow.moveTo(tip + QPointF(-3.5, -3));
    arrow.lineTo(tip + QPointF(3.5, -3));
    arrow.lineTo(tip);
    arrow.closeSubpath();
    painter->fillPath(arrow, option.palette.buttonText());
    painter->setFont(m_state.selectedFont);
    painter->setPen(cell.customLabel ? QColor(Qt::lightGray) : option.palette.color(QPalette::ButtonText));
    const QRect title = label.adjusted(6, 0, -18, 0);
    painter->drawText(
        title, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(m_state.selectedFont).elidedText(cell.labelTitle, Qt::ElideRight, title.width()));
    paintText(painter, textRect(option.rect, cell), m_state.selectedFont, textColor(option), cell);
}

void GridCellDelegate::paintFooter(QPainter *painter, const QStyleOptionViewItem &option,
                                   const GridCell &cell) const
{
    painter->save();
    painter->fillRect(option.rect, option.palette.window());
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.topLeft(), option.rect.topRight());
    painter->setFont(m_state.selectedFont);
    painter->setPen(option.palette.color(QPalette::WindowText));
    const QRect text = option.rect.adjusted(Padding + 2, 0, -Padding, 0);
    painter->drawText(QRect(text.left(), option.rect.top(), text.width(), m_state.rowHeight),
                      Qt::AlignLeft | Qt::AlignVCenter, cell.text);
    painter->restore();
}

// --- in-place editing -----------------------------------------------------------------------

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    ValueFields::takeWholeValues(editor);
    editor->setFont(m_state.selectedFont);
    editor->setFrame(false);
    return editor;
}

void GridCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *field = qobject_cast<QLineEdit *>(editor);
    if (!field || index.row() >= m_state.subContactTable.size() || index.column() >= m_state.columns.size())
        return;
    const SubContactRowPtr shown = m_state.subContactTable.at(index.row());
    const SubContactRow &row = *shown;
    if (!row.person)
        return;
    field->setText(GridField::editableText(m_state.columns.at(index.column()).identifier, *row.person,
                                           row.labelIndex, m_state.customItems));
    field->selectAll();
}

void GridCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    if (auto *field = qobject_cast<QLineEdit *>(editor))
        emit const_cast<GridCellDelegate *>(this)->textCommitted(index.row(), index.column(), field->text());
}

// A labelled value's text is edited beside its popup.
void GridCellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    const auto *model = qobject_cast<const GridModel *>(index.model());
    const GridCell cell = model ? model->cell(index) : GridCell();
    QRect rect = cell.kind == GridCell::Kind::PopupAndText ? textRect(option.rect, cell) : option.rect;
    rect.setHeight(std::min(rect.height(), m_state.rowHeight * std::max(1, index.data(GridModel::NumLinesRole).toInt())));
    editor->setGeometry(rect);
}

bool GridCellDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    const auto *grid = qobject_cast<const GridModel *>(model);
    if (grid && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const GridCell cell = grid->cell(index);
        const QRect label = labelRect(option.rect, cell);
        if (mouse->button() == Qt::LeftButton && cell.showsLabel() &&
            label.contains(mouse->position().toPoint())) {
            emit labelPopupClicked(index.row(), index.column(), label);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
