#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class ImageViewDragAndDropDelegate;
class QMimeData;

// The photo well: shows an image, takes a dropped picture while editable and tells its delegate,
// and can be dragged out as PNG image data. It refuses its own drags and those of the table it is
// set to (whose rows it sits among).
class ImageViewDragAndDrop : public QWidget
{
    Q_OBJECT

public:
    explicit ImageViewDragAndDrop(QWidget *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }
    // Held as a plain pointer; the delegate outlives the well.
    void setDelegate(ImageViewDragAndDropDelegate *delegate) { m_delegate = delegate; }
    void setTableView(QWidget *tableView) { m_tableView = tableView; }
    // A drop is hovering over the well.
    bool isHighlighted() const { return m_highlight; }
    // Names the well in its own drags (the host's choice; empty, the default, names nothing), so
    // that a host tells a picture from one of its wells, by droppedTag, from one from elsewhere.
    void setDragTag(const QByteArray &tag) { m_dragTag = tag; }
    // The tag that the drag of the last dropped picture carried; empty for a picture from elsewhere.
    QByteArray droppedTag() const { return m_droppedTag; }

    // The picture a drag carries: image data, image bytes of any image type, or a local image file.
    static QImage imageFromMimeData(const QMimeData *data);

signals:
    // The well's drag starts with this data; the drag owns it.
    void dragStarting(const QMimeData *data);

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool isOwnOrTableSource(const QObject *source) const;
    void setHighlight(bool highlight);
    void startDrag();

    QImage m_image;
    bool m_editable = false;
    bool m_highlight = false;
    ImageViewDragAndDropDelegate *m_delegate = nullptr;
    QPointer<QWidget> m_tableView;
    QPoint m_pressPosition;
    bool m_pressed = false;
    QByteArray m_dragTag;
    QByteArray m_droppedTag;
};
