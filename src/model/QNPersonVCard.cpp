#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreVCardSerialization.h"

QNPersonPtr QNPerson::initWithVCardData(const QByteArray &data, const QByteArray &fallbackCharset)
{
    StoreVCardReadResult parsed = StoreVCardSerialization::contactsWithData(data, fallbackCharset);
    if (!parsed.isOk() || parsed.contacts.isEmpty())
        return nullptr;
    return initWithParsedContact(std::move(parsed.contacts.first()));
}

QNPersonPtr QNPerson::initWithParsedContact(StoreContact contact)
{
    QNPersonPtr person(new QNPerson(ArchiveTag{}));
    person->m_created = true;
    person->m_uniqueId = contact.identifier();
    person->m_cnContact = std::move(contact);
    person->readSystemDefaults();
    person->readNameKind();
    person->compositeName();
    person->loadPhotoData();
    return person;
}

// The photo is taken as bytes: decoding thousands of images only to fill the cache would dominate
// an export.
void QNPerson::readEveryValue()
{
    holdNameValues();
    for (int kind = 0; kind < LabeledKindCount; ++kind)
        loadedLabeledValues(static_cast<LabeledKind>(kind));
    for (const QString &identifier : QNPerson::allIdentifiers()) {
        if (identifier != PersonIdentifier::Photo)
            valueForIdentifier(identifier);
    }
    loadPhotoData();
}

namespace {

// Every key whose value a card holds; the photo is the record's.
const QStringList &cardKeys()
{
    static const QStringList keys = [] {
        QStringList all = StoreKey::allKeys();
        for (const QString &photoKey :
             {StoreKey::ImageData, StoreKey::ThumbnailImageData, StoreKey::ImageDataAvailable})
            all.removeAll(photoKey);
        return all;
    }();
    return keys;
}

} // namespace

StoreContact QNPerson::vCardContact()
{
    if (m_cnContact && !m_editedSinceRead && hasOrFetchesKeys(cardKeys()))
        return contactFromUnreadValues();
    readEveryValue();
    return contactFromCache(std::nullopt);
}

QByteArray QNPerson::vCardData()
{
    return StoreVCardSerialization::dataWithContacts({vCardContact()});
}

QByteArray QNPerson::photoData()
{
    loadPhotoData();
    const QByteArray image = m_imageData.value_or(QByteArray());
    return image.isEmpty() ? m_thumbnailImageData.value_or(QByteArray()) : image;
}
