#include "platform/CharacterBounds.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>
#include <optional>

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

// Without ICU's rules every code point stands alone: no surrogate half is ever split off.
QList<qsizetype> codePointBounds(QStringView text)
{
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            offsets.append(i);
    }
    offsets.append(text.size());
    return offsets;
}

// Below U+0300 no character joins the next one but CR with LF, so such a text (most Latin text) has
// its bounds without the rules.
constexpr char16_t FirstJoiningUnit = 0x300;

std::optional<QList<qsizetype>> boundsBelowJoiningUnits(QStringView text)
{
    QList<qsizetype> offsets;
    offsets.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit >= FirstJoiningUnit)
            return std::nullopt;
        if (!(unit == u'\n' && i > 0 && text.at(i - 1) == u'\r'))
            offsets.append(i);
    }
    offsets.append(text.size());
    return offsets;
}

} // namespace

CharacterBounds::CharacterBounds(QStringView text)
{
    if (std::optional<QList<qsizetype>> offsets = boundsBelowJoiningUnits(text)) {
        m_offsets = std::move(*offsets);
        return;
    }
    icu::BreakIterator *iterator = characterIterator();
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUChars(&utext, reinterpret_cast<const UChar *>(text.utf16()), text.size(), &status);
    if (iterator && U_SUCCESS(status))
        iterator->setText(&utext, status);
    if (!iterator || U_FAILURE(status)) {
        utext_close(&utext);
        m_offsets = codePointBounds(text);
        return;
    }
    m_offsets.append(0);
    for (int32_t bound = iterator->next(); bound != icu::BreakIterator::DONE; bound = iterator->next())
        m_offsets.append(bound);
    // The iterator keeps no pointer into a text that may go away.
    utext_openUChars(&utext, nullptr, 0, &status);
    iterator->setText(&utext, status);
    utext_close(&utext);
}

bool CharacterBounds::isBound(qsizetype offset) const
{
    return std::binary_search(m_offsets.cbegin(), m_offsets.cend(), offset);
}

bool CharacterBounds::holdsWhole(qsizetype location, qsizetype length) const
{
    return isBound(location) && isBound(location + length);
}
