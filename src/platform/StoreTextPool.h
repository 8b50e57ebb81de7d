#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>
#include <string_view>
#include <unordered_map>

// One shared string per distinct short text of a read. Labels, services and countries repeat over
// thousands of entries; made once, each entry holds the same string instead of a copy of its own.
// A pool belongs to one read on one thread.
class StoreTextPool
{
public:
    // The text of the UTF-8 bytes, as QString::fromUtf8 makes it.
    QString text(QByteArrayView utf8);

private:
    // Longer texts are rarely repeated; a pool that has met this many distinct texts stops
    // adding, so that a read of unusual labels does not grow it without end.
    static constexpr qsizetype MaximumLength = 48;
    static constexpr size_t MaximumCount = 2048;

    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };

    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_texts;
};
