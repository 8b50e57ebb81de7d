#include "find/MatchScan.h"

#include "platform/CharacterBounds.h"

#include <unicode/regex.h>
#include <unicode/utext.h>

#include <mutex>

namespace {

using TextRange = MatchScan::TextRange;

constexpr qsizetype InsideCharacter = -1;

// How long one match may run, in the engine's steps (a fifth of a second here): a pattern that
// backtracks without end, such as (a+)+$, gives up on the value instead of holding the search.
constexpr int32_t MatchTimeLimit = 1000;

// A misspelt escape (\q, or \C for one UTF-16 unit) is reported as an invalid pattern rather
// than searched as a plain letter.
constexpr uint32_t UnknownEscapesAreErrors = UREGEX_ERROR_ON_UNKNOWN_ESCAPES;

// A text in canonical decomposition (NFD) and where its offsets lie in the value it was made from.
struct DecomposedText
{
    QString text;
    // Per offset of text and its end, the value's offset, or InsideCharacter where the offset falls
    // inside a character as a reader sees one.
    QList<qsizetype> origins;
};

// Each character is decomposed on its own, so that its offsets map back; a value that is its own
// decomposition is taken as it stands.
DecomposedText decomposedText(const QString &value, const QString &wholeDecomposed)
{
    const bool asItStands = wholeDecomposed == value;
    DecomposedText decomposed;
    decomposed.text = asItStands ? value : QString();
    decomposed.origins.reserve(value.size() + 1);
    CharacterBounds bounds(value);
    const QList<qsizetype> &offsets = bounds.offsets();
    for (qsizetype i = 0; i + 1 < offsets.size(); ++i) {
        const qsizetype start = offsets.at(i);
        const qsizetype end = offsets.at(i + 1);
        if (!asItStands)
            decomposed.text.append(value.sliced(start, end - start).normalized(QString::NormalizationForm_D));
        decomposed.origins.append(start);
        decomposed.origins.resize(asItStands ? end : decomposed.text.size(), InsideCharacter);
    }
    decomposed.origins.append(value.size());
    return decomposed;
}

// The matches of a decomposed search string; hits that begin or end inside a character are passed
// over.
QList<TextRange> matches(const DecomposedText &text, const QString &searchString, Qt::CaseSensitivity cs)
{
    QList<TextRange> found;
    qsizetype from = 0;
    while (from < text.text.size()) {
        const qsizetype hit = text.text.indexOf(searchString, from, cs);
        if (hit < 0)
            break;
        const qsizetype start = text.origins.at(hit);
        const qsizetype end = text.origins.at(hit + searchString.size());
        // Part of a character (an e that carries an accent, one flag of two) is no match; a later
        // one may be.
        if (start == InsideCharacter || end == InsideCharacter) {
            from = hit + 1;
            continue;
        }
        found.append({start, end - start});
        from = hit + searchString.size();
    }
    return found;
}

// Reads a text's UTF-16 units in place.
class TextInput
{
public:
    explicit TextInput(QStringView text)
    {
        utext_openUChars(&m_text, reinterpret_cast<const UChar *>(text.utf16()), text.size(), &m_status);
    }
    ~TextInput() { utext_close(&m_text); }
    TextInput(const TextInput &) = delete;
    TextInput &operator=(const TextInput &) = delete;

    UText *text() { return U_SUCCESS(m_status) ? &m_text : nullptr; }

private:
    UText m_text = UTEXT_INITIALIZER;
    UErrorCode m_status = U_ZERO_ERROR;
};

} // namespace

// A compiled pattern and one matcher kept for the thread that scans with it; a thread that finds
// the matcher in use makes its own.
class MatchScan::Expression
{
public:
    explicit Expression(const QString &pattern)
    {
        UParseError where;
        UErrorCode status = U_ZERO_ERROR;
        m_pattern.reset(icu::RegexPattern::compile(
            icu::UnicodeString(reinterpret_cast<const UChar *>(pattern.utf16()), int32_t(pattern.size())),
            UnknownEscapesAreErrors, where, status));
        if (U_FAILURE(status))
            m_pattern.reset();
        else
            m_matcher = newMatcher();
    }

    bool isValid() const { return m_matcher != nullptr; }

    std::optional<QList<TextRange>> ranges(const QString &text) const
    {
        std::unique_lock lock(m_mutex, std::try_to_lock);
        std::unique_ptr<icu::RegexMatcher> own;
        icu::RegexMatcher *matcher = lock.owns_lock() ? m_matcher.get() : (own = newMatcher()).get();
        if (!matcher)
            return std::nullopt;
        // The matcher's own copy of the input points into the text until the next scan resets it,
        // and is never read before then.
        TextInput input(text);
        return input.text() ? scan(*matcher, input.text()) : std::nullopt;
    }

private:
    std::unique_ptr<icu::RegexMatcher> newMatcher() const
    {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> matcher(m_pattern ? m_pattern->matcher(status) : nullptr);
        if (matcher)
            matcher->setTimeLimit(MatchTimeLimit, status);
        return U_SUCCESS(status) ? std::move(matcher) : nullptr;
    }

    // Each search goes on from the end of the last match over the whole text: ^, \b and lookbehinds
    // see what lies before it.
    // A search that fails (out of time, or of room to backtrack) gives up the whole text.
    static std::optional<QList<TextRange>> scan(icu::RegexMatcher &matcher, UText *text)
    {
        matcher.reset(text);
        QList<TextRange> found;
        UErrorCode status = U_ZERO_ERROR;
        while (matcher.find(status)) {
            const qsizetype start = matcher.start64(status);
            const qsizetype end = matcher.end64(status);
            // A pattern that matches the empty string ends the scan there.
            if (U_FAILURE(status) || end == start)
                break;
            found.append({start, end - start});
        }
        if (U_FAILURE(status))
            return std::nullopt;
        return found;
    }

    std::unique_ptr<icu::RegexPattern> m_pattern;
    mutable std::mutex m_mutex;
    std::unique_ptr<icu::RegexMatcher> m_matcher;
};

MatchScan::MatchScan(const QString &searchString, unsigned compareOptions) : m_options(compareOptions)
{
    if (m_options == RegularExpression) {
        m_expression = std::make_shared<const Expression>(searchString);
        m_valid = !searchString.isEmpty() && m_expression->isValid();
    } else {
        m_decomposedString = searchString.normalized(QString::NormalizationForm_D);
        m_valid = !searchString.isEmpty();
    }
}

MatchScan::~MatchScan() = default;

std::optional<QList<MatchScan::TextRange>> MatchScan::completeRanges(const QString &text) const
{
    if (!m_valid || text.isEmpty())
        return QList<TextRange>();
    if (m_options == RegularExpression)
        return m_expression->ranges(text);
    return literalRanges(text);
}

QList<MatchScan::TextRange> MatchScan::literalRanges(const QString &text) const
{
    const Qt::CaseSensitivity cs = m_options == CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    // Most texts hold no match: only one that may pays for its characters' bounds.
    if (!decomposed.contains(m_decomposedString, cs))
        return {};
    return matches(decomposedText(text, decomposed), m_decomposedString, cs);
}
