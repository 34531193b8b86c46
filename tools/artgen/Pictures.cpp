#include "Pictures.h"

#include <QBuffer>
#include <algorithm>
#include <cstdlib>
#include <QColor>

namespace {

const QColor kYellow(255, 214, 0);
const QColor kGreen(40, 210, 60);
const QColor kRed(236, 30, 30);

} // namespace

std::vector<PictureRecipe> Catalogue()
{
    std::vector<PictureRecipe> list = {
        {QStringLiteral("TFormMain/ImageForm"), {800, 600}, QStringLiteral("jpg"),
         QStringLiteral("main window background: countdown emblem, question frame, four answer frames"),
         MainArt::Form},
        {QStringLiteral("TFormMain/ImageMenu"), {255, 600}, QStringLiteral("jpg"),
         QStringLiteral("menu panel: name line, buttons, clock bezel, lifelines, money ladder"),
         MainArt::Menu},
        {QStringLiteral("TFormMain/ImageClose"), {33, 25}, QStringLiteral("jpg"),
         QStringLiteral("pressed look of the close button (panel 216, 2)"),
         [](int s) { return MainArt::SmallButtonPressed(s, true); }},
        {QStringLiteral("TFormMain/ImageAbout"), {33, 25}, QStringLiteral("jpg"),
         QStringLiteral("pressed look of the about button (panel 183, 2)"),
         [](int s) { return MainArt::SmallButtonPressed(s, false); }},
        {QStringLiteral("TFormMain/ImageNewGame"), {209, 25}, QStringLiteral("jpg"),
         QStringLiteral("pressed look of the game button (panel 24, 51)"),
         [](int s) { return MainArt::MenuButtonPressed(s, true); }},
        {QStringLiteral("TFormMain/ImageNewName"), {209, 25}, QStringLiteral("jpg"),
         QStringLiteral("pressed look of the name button (panel 24, 87)"),
         [](int s) { return MainArt::MenuButtonPressed(s, false); }},
        {QStringLiteral("NONE"), {1, 1}, QStringLiteral("png"),
         QStringLiteral("blank ladder marker (fully transparent)"), MainArt::None},
        {QStringLiteral("YELLOW"), {17, 23}, QStringLiteral("png"),
         QStringLiteral("ladder marker of the question in play"),
         [](int s) { return MainArt::Marker(s, kYellow); }},
        {QStringLiteral("GREEN"), {17, 23}, QStringLiteral("png"),
         QStringLiteral("ladder marker of a step won"),
         [](int s) { return MainArt::Marker(s, kGreen); }},
        {QStringLiteral("RED"), {17, 23}, QStringLiteral("png"),
         QStringLiteral("ladder marker of the step lost"),
         [](int s) { return MainArt::Marker(s, kRed); }},
        {QStringLiteral("NOCLICK"), {56, 39}, QStringLiteral("png"),
         QStringLiteral("red cross over a used lifeline (transparent around it)"), MainArt::NoClick},
        {QStringLiteral("NEW_YEAR"), {58, 50}, QStringLiteral("png"),
         QStringLiteral("left piece of the banner: fir branch and bauble; ground RGB(116, 113, 115)"),
         MainArt::NewYear},
        {QStringLiteral("SNOW"), {299, 50}, QStringLiteral("png"),
         QStringLiteral("repeated piece of the banner: snow cap and flakes; ground RGB(116, 113, 115)"),
         MainArt::Snow},
        {QStringLiteral("TFormAbout/ImageAbout"), {290, 223}, QStringLiteral("jpg"),
         QStringLiteral("about box: metal frame, emblem, title plate, cream window, OK slot"),
         DialogArt::AboutForm},
        {QStringLiteral("TFormAbout/ImageOk"), {36, 19}, QStringLiteral("jpg"),
         QStringLiteral("grey OK plate (130, 195)"), DialogArt::AboutOk},
        {QStringLiteral("TFormAbout/ImageInfo"), {246, 250}, QStringLiteral("jpg"),
         QStringLiteral("cream sheet: faint emblem above, \"History...\" below"), DialogArt::AboutInfo},
        {QStringLiteral("TFormPromptTelephone/ImageForm"), {576, 228}, QStringLiteral("jpg"),
         QStringLiteral("phone dialog: title plate, seconds emblem, twelve orange (pressed) keys, number plate"),
         DialogArt::PhoneForm},
        {QStringLiteral("TFormPromptMan/ImageForm"), {205, 280}, QStringLiteral("jpg"),
         QStringLiteral("audience dialog: title plate, bar trough, letters A-D with diamonds"),
         DialogArt::AudienceForm},
        {QStringLiteral("TFormNewNameGamer/ImageForm"), {459, 183}, QStringLiteral("jpg"),
         QStringLiteral("new-game dialog: name frame, base frame, arrows, orange (pressed) OK"),
         DialogArt::NewGameForm},
        {QStringLiteral("TFormNewNameGamer/ImageBtnOk"), {51, 35}, QStringLiteral("jpg"),
         QStringLiteral("OK key cap (351, 137)"), DialogArt::NewGameOk},
        {QStringLiteral("TFormTop5/Image1"), {442, 235}, QStringLiteral("jpg"),
         QStringLiteral("leaderboard: title plate, five row frames, orange (pressed) OK; also TFormTop5/ImageForm"),
         DialogArt::Top5Form},
        {QStringLiteral("TFormTop5/ImageBtnOk"), {51, 35}, QStringLiteral("jpg"),
         QStringLiteral("OK key cap (196, 192)"), DialogArt::Top5Ok},
    };

    const char *answers = "ABCD";
    for (int i = 0; i < 4; ++i) {
        list.push_back({QStringLiteral("TFormMain/ImageAnswer") + QChar(answers[i]), {368, 48},
                        QStringLiteral("jpg"),
                        QStringLiteral("answer frame filled orange, shown while %1 is pressed")
                            .arg(QChar(answers[i])),
                        [i](int s) { return MainArt::AnswerHighlight(s, i); }});
    }

    // Keypad rows read 1 2 3 / 4 5 6 / 7 8 9 / * 0 #.
    const char *keys[4][3] = {{"Image1", "Image2", "Image3"},
                              {"Image4", "Image5", "Image6"},
                              {"Image7", "Image8", "Image9"},
                              {"ImageStartNum", "Image0", "ImageReset"}};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            list.push_back({QStringLiteral("TFormPromptTelephone/") + QLatin1String(keys[row][column]),
                            {51, 35}, QStringLiteral("jpg"), QStringLiteral("key cap: dark oval, light outline"),
                            [row, column](int s) { return DialogArt::PhoneKey(s, column, row); }});
        }
    }

    const char *arrows[4] = {"ImageNextN1", "ImageNextN2", "ImageBckB", "ImageNxtB"};
    const char *arrowRoles[4] = {"pressed upper name arrow", "pressed lower name arrow",
                                 "pressed upper base arrow", "pressed lower base arrow"};
    const QSize arrowSizes[4] = {{25, 35}, {25, 35}, {30, 12}, {30, 12}};
    for (int i = 0; i < 4; ++i) {
        list.push_back({QStringLiteral("TFormNewNameGamer/") + QLatin1String(arrows[i]), arrowSizes[i],
                        QStringLiteral("png"), QString::fromLatin1(arrowRoles[i]),
                        [i](int s) { return DialogArt::NewGameArrow(s, i); }});
    }
    return list;
}

QByteArray Encode(const QImage &image, const QString &format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool ok = format == QLatin1String("jpg")
                        ? image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", 90)
                        : image.save(&buffer, "PNG");
    return ok ? bytes : QByteArray();
}

PictureDifference ComparePictures(const QImage &a, const QImage &b)
{
    PictureDifference d;
    if (a.size() != b.size() || a.isNull()) {
        d.largest = 255;
        d.mean = 255.0;
        d.changedShare = 1.0;
        return d;
    }
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    qint64 changed = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int diffs[4] = {std::abs(qRed(p[col]) - qRed(q[col])),
                                  std::abs(qGreen(p[col]) - qGreen(q[col])),
                                  std::abs(qBlue(p[col]) - qBlue(q[col])),
                                  std::abs(qAlpha(p[col]) - qAlpha(q[col]))};
            int most = 0;
            for (int v : diffs) {
                sum += v;
                most = std::max(most, v);
            }
            d.largest = std::max(d.largest, most);
            if (most > PictureDifference::NoiseLevels)
                ++changed;
        }
    }
    const double pixels = double(x.width()) * x.height();
    d.mean = sum / (4.0 * pixels);
    d.changedShare = double(changed) / pixels;
    return d;
}
