#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// Whether something dragged over the grid may be dropped, and what a drop brings: vCard data, a
// vCard file or text, each making new contacts of the selected group wherever it lands.
class GridDropRules
{
public:
    enum class Source
    {
        // Another program's drag.
        OtherApplication,
        // The grid's own rows.
        Grid,
        // Anything else of this program (a detail row, a value editor).
        Application,
    };

    // Where the drop would land: between rows, above row (rowCount: after the last), or on a row.
    struct Target
    {
        int row = 0;
        bool onRow = false;
    };

    // Only between rows, while editing, not past the last grid row (unless there is none), not
    // from the grid itself; another program's drag must carry a vCard, a file, text or CSV data.
    static bool validateDrop(const QMimeData *data, Source source, const Target &target, int gridRowCount,
                             bool editState);
    // The same, wherever the drop lands.
    static bool mayDrop(const QMimeData *data, Source source, bool editState);

    struct Drop
    {
        enum class Kind
        {
            None,
            VCardText,
            Text,
        };
        Kind kind = Kind::None;
        QString text;
    };
    // A drag of this program brings its vCard data only; another program's its vCard data, else
    // its vCard files, else its text, else its CSV data as text (UTF-8 unless it names a charset).
    static Drop acceptDrop(const QMimeData *data, Source source);

    // The file's type is a vCard, by its content type or, failing that, its extension.
    static bool isVCardFile(const QString &path);
    // The text of the dropped vCard files, in order; empty when none is a readable vCard file.
    static QString vCardFilesText(const QMimeData *data);
};
