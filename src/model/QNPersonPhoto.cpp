#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/PhotoFitter.h"
#include "platform/PlatformUtil.h"
#include "platform/Log.h"
#include "platform/StoreContactWriter.h"

#include <QBuffer>

namespace {

QImage imageFromData(const std::optional<QByteArray> &data)
{
    return data && !data->isEmpty() ? QImage::fromData(*data) : QImage();
}

QImage placeholder(bool person)
{
    static const QImage personImage(QStringLiteral(":/icons/icon_person.png"));
    static const QImage companyImage(QStringLiteral(":/icons/icon_company.png"));
    return person ? personImage : companyImage;
}

} // namespace

void QNPerson::loadPhotoData()
{
    if (m_imageData || !m_cnContact)
        return;
    const QStringList keys{StoreKey::ImageData, StoreKey::ThumbnailImageData};
    std::optional<StoreContact> source;
    if (hasKeys(keys)) {
        source = m_cnContact;
    } else if (m_cnContact->isKeyAvailable(StoreKey::ImageDataAvailable) &&
               !m_cnContact->imageDataAvailable()) {
        // The load fetches this flag instead of the bytes: no photo, nothing to fetch.
        source = StoreContact();
    } else {
        // Only the bytes are taken; the record keeps its store contact.
        source = refetchStoreContact(keys);
    }
    if (!source)
        return;
    m_imageData = source->imageData;
    m_thumbnailImageData = source->thumbnailImageData;
}

QImage QNPerson::photo()
{
    loadPhotoData();
    const QImage image = imageFromData(m_imageData);
    return image.isNull() ? imageFromData(m_thumbnailImageData) : image;
}

QImage QNPerson::thumbnail()
{
    loadPhotoData();
    QImage image = imageFromData(m_thumbnailImageData);
    if (image.isNull())
        image = imageFromData(m_imageData);
    return image.isNull() ? placeholder(m_showAsPerson) : image;
}

void QNPerson::setPhoto(const std::optional<QImage> &image)
{
    if (!image) {
        // Empty rather than absent, so that the save removes the stored photo.
        m_imageData = QByteArray();
        m_thumbnailImageData = QByteArray();
        m_changed = true;
        noteEdit(StoreKey::ImageData);
        return;
    }
    if (image->isNull())
        return;
    // A picture that came too late out of the wells' fitting is fitted here, so nothing larger is kept.
    const QImage fitted = PhotoFitter::fitted(*image);
    const QByteArray png = PlatformUtil::pngData(fitted);
    if (png.isEmpty()) {
        Log::write(
            QStringLiteral("ERROR -[QNPerson setPhoto:]: cannot encode the photo of %1").arg(uniqueId()));
        return;
    }
    m_imageData = png;
    // An old thumbnail would go on showing the previous photo until the next load.
    m_thumbnailImageData = StoreContactWriter::thumbnailFor(png);
    m_changed = true;
    noteEdit(StoreKey::ImageData);
}

PhotoBytes QNPerson::photoBytes()
{
    loadPhotoData();
    return {m_imageData, m_thumbnailImageData};
}

void QNPerson::setPhotoBytes(const PhotoBytes &bytes)
{
    setImageData(bytes.imageData);
    setThumbnailImageData(bytes.thumbnailImageData);
}
