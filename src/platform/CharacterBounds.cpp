#include "platform/CharacterBounds.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>

namespace {

// Making an iterator loads the rules; each thread makes its own once.
icu::BreakIterator *characterIterator()
{
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

// Every code point, with CR LF held together. These are the clusters of a text below U+0300 (most
// Latin text), where no character joins the next one but CR with LF; without ICU's rules they at
// least never split a surrogate pair.
QList<qsizetype> codePointBounds(QStringView text)
{
    QList<qsizetype> offsets;
    offsets.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool secondOfPair =
            i > 0 && ((text.at(i).isLowSurrogate() && text.at(i - 1).isHighSurrogate()) ||
                      (text.at(i) == u'\n' && text.at(i - 1) == u'\r'));
        if (!secondOfPair)
            offsets.append(i);
    }
    offsets.append(text.size());
    return offsets;
}

bool needsRules(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar unit) { return unit.unicode() >= 0x300; });
}

// ICU's rules, or where they cannot be had, code points.
QList<qsizetype> clusterBounds(QStringView text)
{
    icu::BreakIterator *iterator = characterIterator();
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUChars(&utext, reinterpret_cast<const UChar *>(text.utf16()), text.size(), &status);
    if (iterator && U_SUCCESS(status))
        iterator->setText(&utext, status);
    if (!iterator || U_FAILURE(status)) {
        utext_close(&utext);
        return codePointBounds(text);
    }
    QList<qsizetype> offsets{0};
    for (int32_t bound = iterator->next(); bound != icu::BreakIterator::DONE; bound = iterator->next())
        offsets.append(bound);
    // The iterator keeps no pointer into a text that may go away.
    utext_openUChars(&utext, nullptr, 0, &status);
    iterator->setText(&utext, status);
    utext_close(&utext);
    return offsets;
}

} // namespace

const QList<qsizetype> &CharacterBounds::offsets()
{
    if (m_offsets.isEmpty()) {
        m_offsets = needsRules(m_text) ? clusterBounds(m_text) : codePointBounds(m_text);
    }
    return m_offsets;
}

bool CharacterBounds::isBound(qsizetype offset)
{
    return std::binary_search(offsets().cbegin(), offsets().cend(), offset);
}

bool CharacterBounds::holdsWhole(qsizetype location, qsizetype length)
{
    return isBound(location) && isBound(location + length);
}
