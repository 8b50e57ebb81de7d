#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

struct UCollator;

// Case-insensitive collation keys of many texts in the user's language, kept in one buffer so that
// tens of thousands of them cost no allocation each; two keys compare as the texts would.
class CollationKeys
{
public:
    CollationKeys();
    ~CollationKeys();
    CollationKeys(const CollationKeys &) = delete;
    CollationKeys &operator=(const CollationKeys &) = delete;

    // Keys of the same language for another thread, as a collator is used by one thread at a
    // time; null when the collator cannot be copied.
    std::unique_ptr<CollationKeys> clone() const;

    // The key of the text; answers its number.
    qsizetype add(const QString &text);
    bool isEmpty() const { return m_offsets.empty(); }
    qsizetype size() const { return qsizetype(m_offsets.size()); }
    // Below zero when the first text sorts before the second.
    int compare(qsizetype first, qsizetype second) const;
    // The key of one text on its own, zero-terminated; keys compare with strcmp as the texts would.
    QByteArray key(const QString &text) const;

private:
    CollationKeys(UCollator *collator, const QString &locale);

    void makeKey(const QString &text, size_t offset);

    UCollator *m_collator = nullptr;
    // The collator's locale; empty for the root collation.
    QString m_locale;
    // Every key, each ending in a zero byte.
    std::vector<char> m_bytes;
    std::vector<size_t> m_offsets;
};
