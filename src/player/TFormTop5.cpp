#include "player/TFormTop5.h"

#include "forms/Accessible.h"

#include "forms/AutoSizeLabel.h"
#include "player/DialogParts.h"
#include "forms/Fonts.h"
#include "game/GameSession.h"
#include "questionbase/MoneyLadder.h"
#include "questionbase/PlayTime.h"
#include "forms/PressLabel.h"
#include "forms/DialogHost.h"
#include "forms/Palette.h"

#include <QMouseEvent>
#include <QStringList>

TFormTop5::TFormTop5(GameSession &session, DialogHost &host)
    : DialogPanel(&host, host.DialogSurface(), QStringLiteral("Top 5"), {FormWidth, FormHeight},
                  Palette::Studio)
    , m_session(session)
{
    setObjectName(QStringLiteral("FormTop5"));
    setFont(GameFont(FontFamily::Arial, 16, true));
    buildControls();
    // What the host said at the end of the game lies behind the table, where
    // a screen reader has no focus to speak it from: the table says it first.
    connect(&m_session, &GameSession::questionShown, this, [this] { m_closingWords.clear(); });
    connect(&m_session, &GameSession::hostSaid, this, [this](const QString &text) { m_closingWords = text; });
}

void TFormTop5::buildControls()
{
    using DialogParts::StyleLabel;
    const QColor white(255, 255, 255);
    const Qt::Alignment centred = Qt::AlignCenter;
    const QFont entryFont = GameFont(FontFamily::Arial, 16, true);
    const QFont headerFont = GameFont(FontFamily::Arial, 13);

    Image1 = DialogParts::MakePicture(this, QStringLiteral("Image1"), QStringLiteral("TFormTop5/Image1"),
                                      {0, 0, FormWidth, FormHeight});

    for (int row = 1; row <= Rows; ++row) {
        const int top = 49 + 28 * (row - 1);
        const QString k = QString::number(row);
        LabelNames[row] = new QLabel(this);
        StyleLabel(LabelNames[row], "LabelName" + k, {50, top, 215, 26}, entryFont, white, centred, {});
        LabelScores[row] = new QLabel(this);
        StyleLabel(LabelScores[row], "LabelScore" + k, {274, top, 72, 26}, entryFont, white, centred, {});
        LabelTimes[row] = new QLabel(this);
        StyleLabel(LabelTimes[row], "LabelTime" + k, {360, top, 62, 26}, entryFont, white, centred, {});
    }

    LabelScore = new QLabel(this);
    StyleLabel(LabelScore, QStringLiteral("LabelScore"), {274, 32, 72, 16}, headerFont, white, centred,
               QStringLiteral("Выигрыш"));
    LabelName = new QLabel(this);
    StyleLabel(LabelName, QStringLiteral("LabelName"), {50, 32, 215, 16}, headerFont, white, centred,
               QStringLiteral("Имя"));
    LabelTime = new QLabel(this);
    StyleLabel(LabelTime, QStringLiteral("LabelTime"), {360, 32, 62, 16}, headerFont, white, centred,
               QStringLiteral("Время"));

    LabelTitle = new PressLabel(this);
    StyleLabel(LabelTitle, QStringLiteral("LabelTitle"), {12, 7, 148, 26},
               GameFont(FontFamily::Arial, 13, true), white, centred, QStringLiteral("Top 5"));
    DragBy(LabelTitle);

    ImageBtnOk = DialogParts::MakePicture(this, QStringLiteral("ImageBtnOk"),
                                          QStringLiteral("TFormTop5/ImageBtnOk"), {196, 192, 51, 35});
    LabelBtnOk = new PressLabel(this);
    StyleLabel(LabelBtnOk, QStringLiteral("LabelBtnOk"), {196, 192, 51, 35},
               GameFont(FontFamily::Arial, 21, true), white, centred, QStringLiteral("Ok"));
    Accessible::Describe(LabelBtnOk, QAccessible::Button, QStringLiteral("Ok"));

    const std::array<QPoint, Rows + 1> rankCorners = {
        QPoint(), QPoint(25, 52), QPoint(26, 80), QPoint(26, 108), QPoint(25, 136), QPoint(26, 164)};
    for (int row = 1; row <= Rows; ++row) {
        auto *rank = new AutoSizeLabel(this, rankCorners[row]);
        StyleLabel(rank, "Label" + QString::number(row), {rankCorners[row], QSize(9, 19)}, entryFont,
                   white, Qt::AlignLeft | Qt::AlignTop, {});
        rank->setText(QString::number(row));
        LabelRanks[row] = rank;
    }
    auto *numberSign = new AutoSizeLabel(this, {24, 32});
    StyleLabel(numberSign, QStringLiteral("Label6"), {24, 32, 14, 16}, headerFont, white, centred, {});
    numberSign->setText(QStringLiteral("№"));
    Label6 = numberSign;

    LabelBtnOk->setOnPress([this](QMouseEvent *) { LabelBtnOkMouseDown(); });
    LabelBtnOk->setOnRelease([this](QMouseEvent *) { LabelBtnOkMouseUp(); });
    LabelBtnOk->setOnRestore([this] { ImageBtnOk->show(); });
}

QString TFormTop5::SumText(int step)
{
    if (step < 0 || step > MoneyLadder::TopStep)
        return QString::number(step);
    return QString::number(MoneyLadder::SumOfStep(step));
}

// ---- Showing and hiding ---------------------------------------------------

void TFormTop5::FormShow()
{
    QStringList read; // the table as a screen reader reads it, row by row
    for (int row = 1; row <= Rows; ++row) {
        const BestTable &entry = m_session.state().Leaders[row];
        LabelNames[row]->setText(entry.Name);
        LabelScores[row]->setText(SumText(entry.Step));
        LabelTimes[row]->setText(FormatPlayTime(entry.Ticks));
        if (!entry.Name.isEmpty())
            read << QStringLiteral("%1. %2, %3 рублей, %4")
                        .arg(row).arg(entry.Name, LabelScores[row]->text(), LabelTimes[row]->text());
    }
    HoldStage();
    // The focus comes to the button, where a screen reader speaks the table
    // with it; Enter closes the table from anywhere.
    const QString table = read.join(QStringLiteral(". "));
    LabelBtnOk->setAccessibleDescription(m_closingWords.isEmpty() ? table : m_closingWords + QLatin1Char(' ') + table);
    LabelBtnOk->setFocus(Qt::OtherFocusReason);
}

void TFormTop5::FormHide()
{
    ImageBtnOk->show();
    ReleaseStage();
}

// ---- Mouse ----------------------------------------------------------------

void TFormTop5::LabelBtnOkMouseDown()
{
    ImageBtnOk->hide();
}

void TFormTop5::LabelBtnOkMouseUp()
{
    ImageBtnOk->show();
    hide();
}
