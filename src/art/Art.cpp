#include "art/Art.h"

#include "Pictures.h"

#include <QDir>
#include <QDirIterator>
#include <QHash>
#include <QFile>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QScreen>

#include <cmath>

namespace Art {
namespace {

const QString kRoot = QStringLiteral(":/art/");
const QStringList kExtensions = {QStringLiteral(".png"), QStringLiteral(".jpg"),
                                 QStringLiteral(".bmp")};

// Second names of pictures that windows know under another control name.
struct Alias {
    const char *name;
    const char *target;
};
constexpr Alias kAliases[] = {
    {"TFormTop5/ImageForm", "TFormTop5/Image1"},
};

QString Target(const QString &name)
{
    for (const Alias &alias : kAliases) {
        if (name == QLatin1String(alias.name))
            return QString::fromLatin1(alias.target);
    }
    return name;
}

// Resource path of `name` (with `suffix` before the extension), or empty.
QString resolve(const QString &name, const QString &suffix)
{
    // Names never carry a density suffix or climb out of the picture folder.
    if (name.isEmpty() || name.contains(QLatin1Char('@')) || name.contains(QLatin1String("..")))
        return {};
    for (const QString &ext : kExtensions) {
        const QString path = kRoot + name + suffix + ext;
        if (QFile::exists(path))
            return path;
    }
    return {};
}

// Density that the running application draws at.
qreal currentRatio()
{
    qreal ratio = 1.0;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            ratio = screen->devicePixelRatio();
    }
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (ok && factor > ratio)
        ratio = factor;
    return ratio;
}

// Loads a resource file once; later calls share the decoded pixmap.
bool load(QPixmap &pixmap, const QString &path)
{
    if (QPixmapCache::find(path, &pixmap))
        return true;
    if (!pixmap.load(path))
        return false;
    QPixmapCache::insert(path, pixmap);
    return true;
}

// Above twice the stage's size the committed @2x files would be magnified and
// soft: the picture is painted afresh by its painter at the next whole density
// and drawn down from there. Painted once per name and density.
QPixmap paintedAt(const QString &name, int density)
{
    static QHash<QString, QPixmap> painted;
    const QString key = name + QLatin1Char('@') + QString::number(density);
    if (const auto found = painted.constFind(key); found != painted.constEnd())
        return *found;
    for (const PictureRecipe &recipe : Catalogue()) {
        if (recipe.name != name)
            continue;
        QPixmap pixmap = QPixmap::fromImage(recipe.paint(density));
        pixmap.setDevicePixelRatio(density);
        painted.insert(key, pixmap);
        return pixmap;
    }
    return {};
}

} // namespace

QPixmap Picture(const QString &alias, qreal ratio)
{
    // Pixmaps need a GUI application; without one there is nothing to show.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    const QString name = Target(alias);
    if (ratio > 2.0) {
        const QPixmap painted = paintedAt(name, int(std::ceil(ratio - 0.001)));
        if (!painted.isNull())
            return painted;
    }
    if (ratio > 1.0) {
        const QString path2x = resolve(name, QStringLiteral("@2x"));
        QPixmap big;
        if (!path2x.isEmpty() && load(big, path2x)) {
            big.setDevicePixelRatio(2.0);
            return big;
        }
    }
    const QString path = resolve(name, QString());
    QPixmap pixmap;
    if (path.isEmpty() || !load(pixmap, path))
        return {};
    pixmap.setDevicePixelRatio(1.0);
    return pixmap;
}

QPixmap Picture(const QString &name)
{
    return Picture(name, currentRatio());
}

QStringList Names()
{
    QStringList names;
    QDirIterator it(kRoot, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = it.next().mid(kRoot.size());
        path.chop(path.size() - path.lastIndexOf(QLatin1Char('.')));
        if (!path.endsWith(QLatin1String("@2x")))
            names.append(path);
    }
    for (const Alias &alias : kAliases) {
        if (names.contains(QString::fromLatin1(alias.target)))
            names.append(QString::fromLatin1(alias.name));
    }
    names.sort();
    return names;
}

} // namespace Art
