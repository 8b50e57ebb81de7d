#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreVCardSerialization.h"

namespace {

// Reading every value puts it into the record. The photo is taken as bytes: decoding thousands of
// images only to fill the cache would dominate an import.
void readEveryValueButThePhoto(QNPerson &person)
{
    for (const QString &identifier : QNPerson::allIdentifiers()) {
        if (identifier != PersonIdentifier::Photo)
            person.valueForIdentifier(identifier);
    }
}

} // namespace

QNPersonPtr QNPerson::initWithVCardData(const QByteArray &data, const QByteArray &fallbackCharset)
{
    StoreVCardReadResult parsed = StoreVCardSerialization::contactsWithData(data, fallbackCharset);
    if (!parsed.isOk() || parsed.contacts.isEmpty())
        return nullptr;
    QNPersonPtr person(new QNPerson(ArchiveTag{}));
    person->m_created = true;
    person->m_cnContact = std::move(parsed.contacts.first());
    person->m_uniqueId = person->m_cnContact->identifier();
    person->readSystemDefaults();
    person->nameValue();
    person->compositeName();
    person->loadPhotoData();
    readEveryValueButThePhoto(*person);
    // Standing alone from here on: nothing is ever fetched for it again.
    person->m_cnContact.reset();
    return person;
}

QByteArray QNPerson::vCardData()
{
    readEveryValueButThePhoto(*this);
    return StoreVCardSerialization::dataWithContacts({contactFromCache(std::nullopt)});
}

QByteArray QNPerson::photoData()
{
    loadPhotoData();
    const QByteArray image = m_imageData.value_or(QByteArray());
    return image.isEmpty() ? m_thumbnailImageData.value_or(QByteArray()) : image;
}
