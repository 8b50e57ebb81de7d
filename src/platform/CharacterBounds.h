#pragma once

#include <QList>
#include <QStringView>

// Where the characters of a text begin and end as a reader sees them: extended grapheme clusters
// (a base with its marks, a flag, an emoji sequence, a Hangul syllable, CR LF), in UTF-16 offsets.
// ICU's character break rules decide; Qt 6.4's finder breaks every unit apart once a text holds an
// Indic or Southeast Asian script. Safe on any thread.
class CharacterBounds
{
public:
    explicit CharacterBounds(QStringView text);

    // Every bound in order, 0 and the text's length included.
    const QList<qsizetype> &offsets() const { return m_offsets; }
    bool isBound(qsizetype offset) const;
    // Whether the range begins and ends on bounds.
    bool holdsWhole(qsizetype location, qsizetype length) const;

private:
    QList<qsizetype> m_offsets;
};
