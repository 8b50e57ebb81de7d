#pragma once

#include <QString>

// The program's version, shown in the About window.
namespace ApplicationInfo {

// The marketing version.
inline const QString ShortVersionString = QStringLiteral("1.0");
// The build number.
inline const QString BundleVersion = QStringLiteral("1");

} // namespace ApplicationInfo
