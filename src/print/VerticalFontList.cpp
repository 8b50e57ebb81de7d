#include "print/VerticalFontList.h"

#include "print/PrintOptionsDict.h"

#include <QFontDatabase>
#include <QSet>

namespace {

const QStringList PrinterFonts{
    QStringLiteral("EPSON-GYOSHO"),      QStringLiteral("EPSON-FUTO-GYOSHO"), QStringLiteral("EPSON-KAISHO"),
    QStringLiteral("EPSON-KYOKASHO"),    QStringLiteral("EPSON-MARUGO"),      QStringLiteral("EPSON-FUTO-MARUGO"),
    QStringLiteral("EPSON-FUTO-KAKUGO"), QStringLiteral("EPSON-FUTO-MINCHO"),
};

// Families that claim Japanese but set it badly upright.
const QSet<QString> &excluded()
{
    static const QSet<QString> names{
        "Apple Color Emoji", "AppleGothic", "AppleMyungjo", "Apple SD Gothic Neo", "Batang", "Wawati SC",
        "Wawati TC", "Lantinghei TC", "Lantinghei SC", "Gulim", "GungSeo", "PCMyungjo", "LiHei Pro",
        "LiSong Pro", "MS Gothic", "MS Mincho", "MS PGothic", "MS PMincho", "Meiryo", "Osaka", "PMingLiU",
        "Baoli SC", "STFangsong", "STHeiti", "Heiti SC", "Heiti TC", "Kaiti TC", "STKaiti", "Kaiti SC",
        "Libian SC", "STSong", "Songti SC", "Songti TC", "Xingkai SC", "Yuanti SC", "SimSun", "BiauKai",
        "Apple LiGothic", "Apple LiSung", "Hei", "Kai",
    };
    return names;
}

} // namespace

namespace VerticalFontList {

QStringList from(const QStringList &japaneseFamilies, const QStringList &allFamilies)
{
    QStringList fonts;
    for (const QString &name : allFamilies) {
        if (PrinterFonts.contains(name) && !fonts.contains(name))
            fonts.append(name);
    }
    for (const QString &family : japaneseFamilies) {
        if (family.startsWith(QLatin1Char('.')) || excluded().contains(family) || fonts.contains(family))
            continue;
        fonts.append(family);
    }
    if (fonts.isEmpty())
        fonts.append(PrintOptionsDict::defaultFontName());
    return fonts;
}

QStringList make()
{
    return from(QFontDatabase::families(QFontDatabase::Japanese), QFontDatabase::families());
}

} // namespace VerticalFontList
