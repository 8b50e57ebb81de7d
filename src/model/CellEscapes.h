#pragma once

#include <QChar>

#include <algorithm>
#include <array>

// The characters our own CSV export and Copy write as a backslash and a letter, so that a cell
// stays on its line and reads back exactly; the writer and the reader both read this table.
struct CellEscape
{
    char16_t character;
    char16_t letter;
};

inline constexpr std::array<CellEscape, 4> CellEscapes{
    {{u'\\', u'\\'}, {u'\t', u't'}, {u'\n', u'n'}, {u'\r', u'r'}}};

// The letter that stands for the character, or a null QChar when it is written as it is.
inline QChar cellEscapeLetter(QChar character)
{
    const auto escape = std::find_if(CellEscapes.begin(), CellEscapes.end(),
                                     [character](const CellEscape &e) { return e.character == character; });
    return escape == CellEscapes.end() ? QChar() : QChar(escape->letter);
}

// The character that the letter after a backslash stands for, or a null QChar.
inline QChar cellEscapedCharacter(QChar letter)
{
    const auto escape = std::find_if(CellEscapes.begin(), CellEscapes.end(),
                                     [letter](const CellEscape &e) { return e.letter == letter; });
    return escape == CellEscapes.end() ? QChar() : QChar(escape->character);
}
