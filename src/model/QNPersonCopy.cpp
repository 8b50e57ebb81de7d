#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"

QNPersonPtr QNPerson::copy()
{
    auto copied = std::make_shared<QNPerson>();
    for (const QString &identifier : allIdentifiers()) {
        if (identifier == PersonIdentifier::Photo) {
            copyPhotoInto(*copied);
            continue;
        }
        const QVariant value = valueForIdentifier(identifier);
        if (value.isValid())
            copied->setValue(value, identifier);
    }
    // Definitions first, so that labels, icons and dictionary items come along with the values.
    for (const QVariant &item : m_customItems) {
        const QVariantMap definition = item.toMap();
        const QString name = definition.value(PersonKey::ItemName).toString();
        const QVariant icon = definition.value(PersonKey::ItemImageData);
        copied->addCustomItem(definition.value(PersonKey::ItemType).toString(), name,
                              definition.value(PersonKey::ItemLabels).toStringList(),
                              icon.isValid() ? std::optional(icon.toByteArray()) : std::nullopt);
        const QVariant value = valueForIdentifier(name);
        if (value.isValid())
            copied->setValue(value, name);
    }
    return copied;
}

// The bytes as they are: going through an image would re-encode and shrink them.
void QNPerson::copyPhotoInto(QNPerson &copied)
{
    loadPhotoData();
    const QByteArray image = m_imageData.value_or(QByteArray());
    const QByteArray thumbnail = m_thumbnailImageData.value_or(QByteArray());
    if (image.isEmpty() && thumbnail.isEmpty())
        return;
    copied.m_imageData = image.isEmpty() ? thumbnail : image;
    copied.m_thumbnailImageData = thumbnail;
    copied.m_changed = true;
}
