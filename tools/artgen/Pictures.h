#pragma once

// The catalogue of every picture the game ships, with the painter of each.

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

struct PictureRecipe {
    QString name;      // "TFormMain/ImageForm", "SNOW"...
    QSize size;        // logical size in pixels
    QString format;    // "jpg" or "png"
    QString role;      // one line for the catalogue
    std::function<QImage(int scale)> paint; // the picture at 1x or 2x
};

std::vector<PictureRecipe> Catalogue();

// The file contents of `image` in `format` ("jpg" at quality 90, or "png"),
// exactly as the generator writes them.
QByteArray Encode(const QImage &image, const QString &format);

// How far apart two pictures of one size are. Antialiased edges and
// gradients come out a level or two different from one processor to
// another (the raster engine picks its blending code by processor), and a
// JPEG spreads such a change over its block; a painter that really changed
// moves a shape or a colour, which shows as a large difference or as a
// small one over much of the picture.
struct PictureDifference {
    // A channel counts as changed when it is more than this many levels off.
    static constexpr int NoiseLevels = 6;
    int largest = 0;    // the largest difference of one channel, in levels
    double mean = 0.0;  // mean difference per channel, in levels
    double changedShare = 0.0; // share of the pixels with a changed channel

    // Same picture, up to the rasteriser's last bits.
    // Measured between two processors: a level at most, mean 0.0003.
    bool SamePicture() const { return mean <= 0.05 && changedShare <= 0.00005; }
};
// Two pictures of different sizes are never the same picture.
PictureDifference ComparePictures(const QImage &a, const QImage &b);

// Painters, grouped by window. Each returns the picture at `scale`.
namespace MainArt {
QImage Form(int scale);
QImage Menu(int scale);
QImage AnswerHighlight(int scale, int index); // 0..3 for A..D
QImage SmallButtonPressed(int scale, bool close);
QImage MenuButtonPressed(int scale, bool newGame);
QImage Marker(int scale, QColor colour);
QImage None(int scale);
QImage NoClick(int scale);
QImage NewYear(int scale);
QImage Snow(int scale);
// The main window as the player sees it between games: background, banner,
// menu panel and, for checking the ladder, markers on a few rows.
QImage Composite(int scale);
// The same with sample texts in the labels' places and fonts.
QImage Preview(int scale);
} // namespace MainArt

namespace DialogArt {
QImage AboutForm(int scale);
QImage AboutOk(int scale);
QImage AboutInfo(int scale);
QImage PhoneForm(int scale);
QImage PhoneKey(int scale, int column, int row);
QImage AudienceForm(int scale);
QImage NewGameForm(int scale);
QImage NewGameOk(int scale);
QImage NewGameArrow(int scale, int which); // 0 NextN1, 1 NextN2, 2 BckB, 3 NxtB
QImage Top5Form(int scale);
QImage Top5Ok(int scale);
} // namespace DialogArt

// The game's icon for the desktop, in the sizes of the icon theme.
namespace IconArt {
inline constexpr int Sizes[] = {16, 24, 32, 48, 64, 128, 256, 512};
inline const QString Name = QStringLiteral("org.example.Zorban");
QImage Icon(int size);  // `size` x `size` pixels, transparent round the emblem
QByteArray Svg();       // the same design, scalable
} // namespace IconArt
