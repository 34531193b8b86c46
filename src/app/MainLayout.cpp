#include "app/MainLayout.h"

namespace MainLayout {

namespace {

constexpr Qt::Alignment Centred = Qt::AlignCenter;
constexpr Qt::Alignment TopLeft = Qt::AlignLeft | Qt::AlignTop;

ControlLayout picture(const char *name, QRect rect, bool visible = true, bool onPanel = false)
{
    ControlLayout row;
    row.name = QString::fromLatin1(name);
    row.kind = ControlKind::Picture;
    row.geometry = rect;
    row.visible = visible;
    row.onPanel = onPanel;
    return row;
}

ControlLayout label(const char *name, QRect rect, FontFamily family, int pixelSize, bool bold,
                    QColor colour, Qt::Alignment alignment, bool wrap, const QString &text = {},
                    bool onPanel = false)
{
    ControlLayout row;
    row.name = QString::fromLatin1(name);
    row.kind = ControlKind::Label;
    row.geometry = rect;
    row.family = family;
    row.pixelSize = pixelSize;
    row.bold = bold;
    row.colour = colour;
    row.alignment = alignment;
    row.wordWrap = wrap;
    row.text = text;
    row.onPanel = onPanel;
    return row;
}

// An empty click area: default font, disabled until a game enables it.
ControlLayout clickArea(const char *name, QRect rect, bool onPanel = false)
{
    ControlLayout row = label(name, rect, FontFamily::Arial, 11, false, Qt::white, TopLeft, false,
                              {}, onPanel);
    row.enabled = false;
    return row;
}

ControlLayout autoLabel(const char *name, QPoint anchor, bool rightAnchored, FontFamily family,
                        int pixelSize, bool bold, QColor colour, Qt::Alignment alignment,
                        const QString &text, bool visible, bool onPanel)
{
    ControlLayout row = label(name, QRect(anchor, QSize(0, 0)), family, pixelSize, bold, colour,
                              alignment, false, text, onPanel);
    row.kind = ControlKind::AutoLabel;
    row.rightAnchored = rightAnchored;
    row.visible = visible;
    return row;
}

std::vector<ControlLayout> build()
{
    const QColor white = Qt::white;
    const QColor black = Qt::black;
    const QColor yellow(255, 255, 0);
    std::vector<ControlLayout> rows;

    rows.push_back(picture("ImageForm", {0, 0, 800, 600}));
    rows.push_back(picture("ImageAnswerA", {31, 465, 368, 48}, false));
    rows.push_back(picture("ImageAnswerD", {401, 517, 368, 48}, false));
    rows.push_back(picture("ImageAnswerC", {31, 517, 368, 48}, false));
    rows.push_back(picture("ImageAnswerB", {401, 465, 368, 48}, false));

    const auto arial = FontFamily::Arial;
    rows.push_back(label("LabelQuestion", {64, 366, 665, 78}, arial, 21, true, white, Centred, true));
    rows.push_back(label("LabelAnswerA", {88, 462, 289, 51}, arial, 19, true, white, Centred, true));
    rows.push_back(label("LabelAnswerB", {456, 462, 289, 51}, arial, 19, true, white, Centred, true));
    rows.push_back(label("LabelAnswerC", {88, 515, 289, 51}, arial, 19, true, white, Centred, true));
    rows.push_back(label("LabelAnswerD", {456, 515, 289, 51}, arial, 19, true, white, Centred, true));

    ControlLayout title = label("LabelTitle", {0, 155, 193, 118}, FontFamily::TimesNewRoman, 35, true,
                                QColor(191, 255, 0), Qt::AlignHCenter | Qt::AlignTop, true,
                                QStringLiteral("Vantor New Year version 1.5.5"));
    title.italic = true;
    rows.push_back(title);

    rows.push_back(label("LabelTimer", {60, 96, 72, 49}, arial, 48, true, QColor(0, 255, 0), Centred, false));
    rows.push_back(label("LabelTypeScience", {32, 565, 729, 19}, arial, 16, true, white, Centred, false));
    rows.push_back(label("LabelAutorQuestion", {32, 581, 729, 19}, arial, 12, true, white, Centred, false));

    rows.push_back(label("LabelB", {433, 474, 30, 32}, arial, 27, true, LetterColour, TopLeft, false, QStringLiteral("B:")));
    rows.push_back(label("LabelD", {433, 526, 30, 32}, arial, 27, true, LetterColour, TopLeft, false, QStringLiteral("D:")));
    rows.push_back(label("LabelA", {64, 474, 29, 32}, arial, 27, true, LetterColour, TopLeft, false, QStringLiteral("A:")));
    rows.push_back(label("LabelC", {64, 526, 30, 32}, arial, 27, true, LetterColour, TopLeft, false, QStringLiteral("C:")));

    rows.push_back(clickArea("LabelClkA", {56, 462, 321, 51}));
    rows.push_back(clickArea("LabelClkB", {424, 462, 321, 51}));
    rows.push_back(clickArea("LabelClkC", {56, 515, 321, 51}));
    rows.push_back(clickArea("LabelClkD", {424, 515, 321, 51}));

    rows.push_back(picture("ImageNewYear", {0, 0, 800, BannerHeight}));
    rows.push_back(autoLabel("LblNmQA", {60, 0}, false, arial, 11, false, black, TopLeft, {}, true, false));
    rows.push_back(autoLabel("LabelScore", {789, 40}, true, FontFamily::Tahoma, 48, true, yellow,
                             Qt::AlignRight | Qt::AlignVCenter, {}, true, false));
    rows.push_back(label("LabelDialog", {192, 48, 601, 265}, FontFamily::TimesNewRoman, 24, false, white, Centred, true));

    ControlLayout panel;
    panel.name = QStringLiteral("PanelMenu");
    panel.kind = ControlKind::Panel;
    panel.geometry = {PanelShownLeft, 0, 255, 600};
    panel.colour = WindowColour;
    rows.push_back(panel);

    const bool onPanel = true;
    rows.push_back(picture("ImageMenu", {0, 0, 255, 600}, true, onPanel));
    rows.push_back(picture("ImagePrompt50", {40, 140, 56, 39}, false, onPanel));
    rows.push_back(picture("ImagePromptTel", {105, 140, 56, 39}, false, onPanel));
    rows.push_back(picture("ImagePromptMan", {173, 140, 56, 39}, false, onPanel));
    rows.push_back(clickArea("LabelPrompt50", {40, 144, 57, 33}, onPanel));
    rows.push_back(clickArea("LabelPromptMan", {168, 144, 57, 33}, onPanel));
    rows.push_back(clickArea("LabelPromptTel", {104, 144, 57, 33}, onPanel));
    rows.push_back(label("LabelNameGamer", {19, 1, 143, 26}, arial, 11, false, white, Centred, true, {}, onPanel));
    rows.push_back(picture("ImageClose", {216, 2, 33, 25}, false, onPanel));
    rows.push_back(label("LabelBtnClose", {220, 3, 25, 24}, arial, 19, true, white, Centred, false, QStringLiteral("X"), onPanel));
    rows.push_back(picture("ImageAbout", {183, 2, 33, 25}, false, onPanel));
    rows.push_back(label("LabelBtnAbout", {187, 3, 25, 24}, arial, 21, true, white, Centred, false, QStringLiteral("?"), onPanel));
    rows.push_back(picture("ImageNewGame", {24, 51, 209, 25}, false, onPanel));
    rows.push_back(label("LabelBtnNewGame", {24, 49, 209, 29}, arial, 11, false, white, Centred, false,
                         QStringLiteral("Новая игра..."), onPanel));
    rows.push_back(picture("ImageNewName", {24, 87, 209, 25}, false, onPanel));
    rows.push_back(label("LabelNewName", {24, 87, 209, 25}, arial, 11, false, white, Centred, false,
                         QStringLiteral("Изменить имя игрока..."), onPanel));
    for (int step = 1; step <= 15; ++step) {
        const QByteArray name = "ImagePos" + QByteArray::number(step);
        rows.push_back(picture(name.constData(), {MarkerLeft, MarkerTop(step), 17, 23}, true, onPanel));
    }
    rows.push_back(label("LabelNumLoad", {156, 582, 75, 14}, arial, 11, false, white, Centred, false, {}, onPanel));

    ControlLayout gauge;
    gauge.name = QStringLiteral("GaugeLoad");
    gauge.kind = ControlKind::Gauge;
    gauge.onPanel = onPanel;
    gauge.geometry = {150, 117, 100, 20};
    gauge.visible = false;
    rows.push_back(gauge);

    rows.push_back(autoLabel("LabelLoad", {7, 119}, false, arial, 11, false, white, TopLeft,
                             QStringLiteral("..."), false, onPanel));

    ControlLayout lcd;
    lcd.name = QStringLiteral("LCD99");
    lcd.kind = ControlKind::Lcd;
    lcd.onPanel = onPanel;
    lcd.geometry = {40, 28, 105, 21};
    rows.push_back(lcd);
    return rows;
}

} // namespace

const std::vector<ControlLayout> &Rows()
{
    static const std::vector<ControlLayout> rows = build();
    return rows;
}

const ControlLayout *Find(const QString &name)
{
    for (const ControlLayout &row : Rows()) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

} // namespace MainLayout
