// zorban-artgen: paints every picture of the game and writes them, with a
// twice-as-large @2x copy of each, into the artwork folder.
//
//   zorban-artgen [--out DIR] [--icons DIR] [--sheet FILE.png] [--composite FILE.png] [--catalogue]
//
// --out        where to write the pictures (default: src/art/images)
// --icons      also write the desktop icon as an icon theme folder,
//              DIR/hicolor/NxN/apps/ and DIR/hicolor/scalable/apps/
// --sheet      also write a contact sheet of every picture, for a look
// --composite  also write the main window as assembled at 1x and 2x, and a
//              preview with sample texts in the labels' places (FILE-preview)
// --catalogue  print the catalogue as a Markdown table

#include "Pictures.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

namespace {

bool Save(const QImage &image, const QString &path, const QString &format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // A picture already there that differs only in the rasteriser's last
    // bits stays as it is, so painting on another processor changes no file.
    const QImage existing(path);
    if (!existing.isNull()
        && ComparePictures(existing, QImage::fromData(Encode(image, format))).SamePicture())
        return true;
    const QByteArray bytes = Encode(image, format);
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QImage ContactSheet(const std::vector<PictureRecipe> &list)
{
    const int width = 1700;
    // Lay the 1x pictures out in rows, name under each.
    struct Place { QPoint at; const PictureRecipe *recipe; QImage image; };
    std::vector<Place> places;
    int x = 10, y = 10, rowHeight = 0;
    for (const PictureRecipe &recipe : list) {
        QImage img = recipe.paint(1);
        const int w = std::max(img.width(), 120), h = img.height() + 18;
        if (x + w > width - 10) {
            x = 10;
            y += rowHeight + 12;
            rowHeight = 0;
        }
        places.push_back({{x, y}, &recipe, img});
        x += w + 14;
        rowHeight = std::max(rowHeight, h);
    }
    QImage sheet(width, y + rowHeight + 10, QImage::Format_RGB32);
    sheet.fill(QColor(60, 60, 60));
    QPainter p(&sheet);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    for (const Place &place : places) {
        // Checkerboard behind transparent pictures.
        const QRect r(place.at, place.image.size());
        for (int cy = r.top(); cy < r.bottom(); cy += 4)
            for (int cx = r.left(); cx < r.right(); cx += 4)
                p.fillRect(QRect(cx, cy, 4, 4).intersected(r),
                           ((cx + cy) / 4) % 2 ? QColor(180, 180, 180) : QColor(230, 230, 230));
        p.drawImage(place.at, place.image);
        p.setPen(Qt::white);
        p.drawText(QPoint(place.at.x(), r.bottom() + 13), place.recipe->name);
    }
    return sheet;
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Paints the pictures of the game."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Output folder."),
                                 QStringLiteral("dir"), QStringLiteral("src/art/images"));
    const QCommandLineOption sheet(QStringLiteral("sheet"), QStringLiteral("Contact sheet PNG."),
                                   QStringLiteral("file"));
    const QCommandLineOption composite(QStringLiteral("composite"),
                                       QStringLiteral("Assembled main window PNG (also FILE@2x)."),
                                       QStringLiteral("file"));
    const QCommandLineOption catalogue(QStringLiteral("catalogue"),
                                       QStringLiteral("Print the catalogue as Markdown."));
    const QCommandLineOption icons(QStringLiteral("icons"), QStringLiteral("Icon theme folder."),
                                   QStringLiteral("dir"));
    parser.addOptions({out, icons, sheet, composite, catalogue});
    parser.process(app);

    const std::vector<PictureRecipe> list = Catalogue();
    QTextStream err(stderr);
    QTextStream cout(stdout);

    if (parser.isSet(catalogue)) {
        cout << "| name | size | file | role |\n|---|---|---|---|\n";
        for (const PictureRecipe &recipe : list)
            cout << "| `" << recipe.name << "` | " << recipe.size.width() << " x " << recipe.size.height()
                 << " | `images/" << recipe.name << '.' << recipe.format << "` | " << recipe.role << " |\n";
        return 0;
    }

    const QString dir = parser.value(out);
    int failures = 0;
    for (const PictureRecipe &recipe : list) {
        for (int scale : {1, 2}) {
            const QImage img = recipe.paint(scale);
            if (img.size() != recipe.size * scale) {
                err << recipe.name << ": painted " << img.width() << "x" << img.height()
                    << ", expected " << recipe.size.width() * scale << "x" << recipe.size.height() * scale
                    << "\n";
                ++failures;
                continue;
            }
            const QString path = dir + QLatin1Char('/') + recipe.name
                                 + (scale == 2 ? QStringLiteral("@2x.") : QStringLiteral("."))
                                 + recipe.format;
            if (!Save(img, path, recipe.format)) {
                err << "cannot write " << path << "\n";
                ++failures;
            }
        }
    }
    if (parser.isSet(icons)) {
        const QString root = parser.value(icons) + QStringLiteral("/hicolor/");
        for (int size : IconArt::Sizes) {
            const QString path = root + QStringLiteral("%1x%1/apps/").arg(size) + IconArt::Name + ".png";
            if (!Save(IconArt::Icon(size), path, QStringLiteral("png"))) {
                err << "cannot write " << path << "\n";
                ++failures;
            }
        }
        const QString svg = root + QStringLiteral("scalable/apps/") + IconArt::Name + ".svg";
        QDir().mkpath(QFileInfo(svg).absolutePath());
        QFile file(svg);
        const QByteArray bytes = IconArt::Svg();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            err << "cannot write " << svg << "\n";
            ++failures;
        }
    }
    if (parser.isSet(sheet))
        ContactSheet(list).save(parser.value(sheet));
    if (parser.isSet(composite)) {
        const QString path = parser.value(composite);
        MainArt::Composite(1).save(path);
        QString path2 = path;
        path2.insert(path2.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
        MainArt::Composite(2).save(path2);
        QString preview = path;
        preview.insert(preview.lastIndexOf(QLatin1Char('.')), QStringLiteral("-preview"));
        MainArt::Preview(1).save(preview);
    }
    err << list.size() << " pictures, " << failures << " failures\n";
    return failures == 0 ? 0 : 1;
}
