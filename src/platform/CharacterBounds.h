#pragma once

#include <QList>
#include <QStringView>

// Where the characters of a text begin and end as a reader sees them: extended grapheme clusters
// (a base with its marks, a flag, an emoji sequence, a Hangul syllable, CR LF), in UTF-16 offsets.
// ICU's character break rules decide; Qt 6.4's finder breaks every unit apart once a text holds an
// Indic or Southeast Asian script. The bounds are read on first use, so a search pays for them
// only once it has a hit; the text must outlive the object. Safe on any thread.
class CharacterBounds
{
public:
    explicit CharacterBounds(QStringView text) : m_text(text) {}

    // Every bound in order, 0 and the text's length included.
    const QList<qsizetype> &offsets();
    bool isBound(qsizetype offset);
    // Whether the range begins and ends on bounds.
    bool holdsWhole(qsizetype location, qsizetype length);

private:
    QStringView m_text;
    QList<qsizetype> m_offsets;
};
