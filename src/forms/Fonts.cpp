#include "forms/Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace {

// Where Debian's fonts-wine package puts its Tahoma.
const char *const TahomaFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

QString loadTahoma()
{
    QString family;
    for (const char *path : TahomaFiles) {
        if (!QFile::exists(QString::fromLatin1(path)))
            continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
        if (id < 0)
            continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (family.isEmpty() && !families.isEmpty())
            family = families.first();
    }
    return family.isEmpty() ? QStringLiteral("DejaVu Sans") : family;
}

const QString &tahomaFamily()
{
    static const QString family = loadTahoma();
    return family;
}

} // namespace

QString FontFamilyName(FontFamily family)
{
    switch (family) {
    case FontFamily::Arial:
        return QStringLiteral("Liberation Sans");
    case FontFamily::TimesNewRoman:
        return QStringLiteral("Liberation Serif");
    case FontFamily::Tahoma:
    case FontFamily::MsSansSerif:
        return tahomaFamily();
    case FontFamily::ComicSansMs:
        // Narrow enough that the about box's lines keep within their boxes.
        return QStringLiteral("DejaVu Sans Condensed");
    }
    return QStringLiteral("DejaVu Sans");
}

QFont GameFont(FontFamily family, int pixelSize, bool bold, bool italic)
{
    QFont font;
    // The second family stands in where the first is not installed.
    const QString fallback = family == FontFamily::ComicSansMs ? QStringLiteral("Liberation Sans")
                                                               : QStringLiteral("DejaVu Sans");
    font.setFamilies({FontFamilyName(family), fallback});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setKerning(false);
    return font;
}
