#pragma once

#include <QString>
#include <QVariantMap>

class UserDefaults;

// The print settings: one dictionary of version 6 holding the settings every style shares and one
// dictionary of options per style, lengths in points. It stays a map, for it is stored whole in
// the user defaults and shared by the accessory and the print view (PrintOptionsPtr).
//
// Stored options are laid over the defaults key by key: a value of the wrong type or out of range
// (a label size that is not positive, a font size below 1, an empty label filter) keeps the
// default, so that no reader meets it. Keys the defaults lack are kept as stored.
class PrintOptionsDict
{
public:
    static constexpr int Version = 6;

    // Every default.
    static QVariantMap createPrintOptions();
    // The stored options of version 6 or later over the defaults; the defaults alone otherwise.
    static QVariantMap load(const UserDefaults &defaults);
    static void save(UserDefaults &defaults, const QVariantMap &options);
    // The stored options laid over the defaults, whatever their version.
    static QVariantMap merged(const QVariantMap &stored);

    // The user font's family and the default vertical font's.
    static QString defaultFontName();
    static QString defaultVerticalFontName();
};
