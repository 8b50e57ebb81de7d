#include "ui/widgets/ImageViewDragAndDrop.h"

#include "ui/widgets/ImageViewDragAndDropDelegate.h"

#include "platform/PlatformUtil.h"

#include <QApplication>
#include <QBuffer>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace {
constexpr int Margin = 2;
constexpr int HighlightWidth = 5;
const QString DragTagType = QStringLiteral("application/x-photo-well-tag");

} // namespace

ImageViewDragAndDrop::ImageViewDragAndDrop(QWidget *parent) : QWidget(parent)
{
    setAcceptDrops(true);
}

void ImageViewDragAndDrop::setImage(const QImage &image)
{
    m_image = image;
    update();
}

QImage ImageViewDragAndDrop::imageFromMimeData(const QMimeData *data)
{
    if (!data)
        return QImage();
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return image;
    }
    for (const QString &format : data->formats()) {
        if (!format.startsWith(QLatin1String("image/")))
            continue;
        const QImage image = QImage::fromData(data->data(format));
        if (!image.isNull())
            return image;
    }
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QImage image(url.toLocalFile());
        if (!image.isNull())
            return image;
    }
    return QImage();
}

bool ImageViewDragAndDrop::isOwnOrTableSource(const QObject *source) const
{
    if (!source)
        return false;
    if (source == this)
        return true;
    for (const QObject *object = source; object; object = object->parent()) {
        if (m_tableView && object == m_tableView)
            return true;
    }
    return false;
}

void ImageViewDragAndDrop::setHighlight(bool highlight)
{
    m_highlight = highlight;
    update();
}

void ImageViewDragAndDrop::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_editable || isOwnOrTableSource(event->source()) || !(event->possibleActions() & Qt::CopyAction) ||
        imageFromMimeData(event->mimeData()).isNull()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setHighlight(true);
}

void ImageViewDragAndDrop::dragMoveEvent(QDragMoveEvent *event)
{
    if (!m_highlight) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ImageViewDragAndDrop::dragLeaveEvent(QDragLeaveEvent *)
{
    setHighlight(false);
}

void ImageViewDragAndDrop::dropEvent(QDropEvent *event)
{
    if (!m_editable) {
        event->ignore();
        return;
    }
    const QImage image = event->source() == this ? QImage() : imageFromMimeData(event->mimeData());
    // The frame goes with the drop, taken or not.
    setHighlight(false);
    if (image.isNull()) {
        event->ignore();
        return;
    }
    setImage(image);
    m_droppedTag = event->mimeData()->data(DragTagType);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (m_delegate)
        m_delegate->imageDidChange(this);
}

void ImageViewDragAndDrop::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressPosition = event->position().toPoint();
    event->accept();
}

void ImageViewDragAndDrop::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    startDrag();
}

void ImageViewDragAndDrop::startDrag()
{
    if (m_image.isNull())
        return;
    auto *data = new QMimeData;
    data->setImageData(m_image);
    data->setData(QStringLiteral("image/png"), PlatformUtil::pngData(m_image));
    if (!m_dragTag.isEmpty())
        data->setData(DragTagType, m_dragTag);
    emit dragStarting(data);
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(
        QPixmap::fromImage(m_image.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    drag->exec(Qt::CopyAction);
}

void ImageViewDragAndDrop::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area = rect().adjusted(Margin, Margin, -Margin, -Margin);
    if (!m_image.isNull() && area.isValid()) {
        QSize size = m_image.size();
        if (size.width() > area.width() || size.height() > area.height())
            size.scale(area.size(), Qt::KeepAspectRatio);
        const QRect target(area.left(), area.top() + (area.height() - size.height()) / 2, size.width(),
                           size.height());
        painter.drawImage(target, m_image);
    }
    if (m_highlight) {
        QPen pen(Qt::gray);
        pen.setWidth(HighlightWidth);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(HighlightWidth / 2, HighlightWidth / 2, -HighlightWidth / 2 - 1,
                                         -HighlightWidth / 2 - 1));
    }
}
