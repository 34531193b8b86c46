#include "app/TFormAbout.h"

#include "forms/Accessible.h"

#include "art/Art.h"
#include "forms/Fonts.h"
#include "forms/Palette.h"
#include "forms/Press.h"
#include "widgets/TThreadedTimer.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <functional>

namespace {

QFont comic(int pixelSize, bool bold = false)
{
    return GameFont(FontFamily::ComicSansMs, pixelSize, bold);
}

} // namespace

TFormAbout::TFormAbout(QWidget *surface)
    : DialogPanel(nullptr, surface, QStringLiteral("About"), QSize(290, 223),
                  QGuiApplication::palette().color(QPalette::Button))
{
    setObjectName(QStringLiteral("TFormAbout"));
    setFont(comic(11));
    // The box is drawn on the main window but keeps the desktop's text colour.
    Palette::SetTextColour(this, QGuiApplication::palette().color(QPalette::WindowText));

    ImageAbout = new QLabel(this);
    ImageAbout->setObjectName(QStringLiteral("ImageAbout"));
    ImageAbout->setGeometry(0, 0, 290, 223);
    ImageAbout->setPixmap(Art::Picture(QStringLiteral("TFormAbout/ImageAbout")));

    m_okPicture = Art::Picture(QStringLiteral("TFormAbout/ImageOk"));
    ImageOk = new QLabel(this);
    ImageOk->setObjectName(QStringLiteral("ImageOk"));
    ImageOk->setGeometry(130, 195, 36, 19);
    ImageOk->setPixmap(m_okPicture);
    PressArea *ok = PressArea::Of(ImageOk);
    Accessible::Describe(ImageOk, QAccessible::Button, QStringLiteral("Ok"));
    ok->setOnPress([this](QMouseEvent *) { ImageOkMouseDown(); });
    ok->setOnRelease([this](QMouseEvent *) { ImageOkMouseUp(); });
    ok->setOnRestore([this] {
        m_okHeld = false;
        ImageOk->setPixmap(m_okPicture);
    });

    PanelAbout = new QWidget(this);
    PanelAbout->setObjectName(QStringLiteral("PanelAbout"));
    PanelAbout->setGeometry(24, 55, 247, 125);

    PanelAnimate = new QWidget(PanelAbout);
    PanelAnimate->setObjectName(QStringLiteral("PanelAnimate"));
    PanelAnimate->setGeometry(0, 0, 247, 500);
    PanelAnimate->setAutoFillBackground(true);
    QPalette sheet = PanelAnimate->palette();
    sheet.setColor(QPalette::Window, QColor(252, 250, 202));
    sheet.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    PanelAnimate->setPalette(sheet);
    buildSheet();

    TimerClose = new QTimer(this);
    TimerClose->setObjectName(QStringLiteral("TimerClose"));
    TimerClose->setInterval(2000);
    connect(TimerClose, &QTimer::timeout, this, &TFormAbout::TimerCloseTimer);
    TimerClose->start();

    TimerInterval = new QTimer(this);
    TimerInterval->setObjectName(QStringLiteral("TimerInterval"));
    TimerInterval->setInterval(FirstIntervalMs);
    connect(TimerInterval, &QTimer::timeout, this, &TFormAbout::TimerIntervalTimer);
    TimerInterval->start();

    TimerAnimate = new TThreadedTimer(this);
    TimerAnimate->setObjectName(QStringLiteral("TimerAnimate"));
    TimerAnimate->setInterval(1);
    TimerAnimate->setThreadPriority(TThreadedTimer::tpNormal);
    TimerAnimate->setOnTimer([this] { TimerAnimateTimer(); });
    TimerAnimate->setEnabled(true);
}

TFormAbout::~TFormAbout()
{
    TimerAnimate->setEnabled(false);
}

QUrl TFormAbout::MailUrl()
{
    return QUrl(QStringLiteral("mailto:") + MailAddress);
}

QUrl TFormAbout::WebUrl()
{
    return QUrl(QStringLiteral("http://") + WebAddress + QLatin1Char('/'));
}

QLabel *TFormAbout::sheetLabel(const char *name, int left, int top, const QString &text)
{
    auto *label = new QLabel(PanelAnimate);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(0);
    label->setIndent(0);
    label->setFont(comic(9));
    label->setText(text);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void TFormAbout::buildSheet()
{
    ImageInfo = new QLabel(PanelAnimate);
    ImageInfo->setObjectName(QStringLiteral("ImageInfo"));
    ImageInfo->setGeometry(0, 0, 246, 250);
    ImageInfo->setPixmap(Art::Picture(QStringLiteral("TFormAbout/ImageInfo")));

    const auto fixed = [](QLabel *label, int width, int height, bool wrap) {
        label->setWordWrap(wrap);
        label->resize(width, height);
        return label;
    };
    const auto styled = [](QLabel *label, int pixelSize, bool bold, const QColor &colour) {
        label->setFont(comic(pixelSize, bold));
        if (colour.isValid())
            Palette::SetTextColour(label, colour);
        label->adjustSize();
        return label;
    };
    const QColor black = Qt::black;
    const QColor blue(0, 0, 255);

    LabelInfWin = sheetLabel("LabelInfWin", 78, 17, QStringLiteral("(Windows 9x, NT)"));
    LabelInfText1 = styled(sheetLabel("LabelInfText1", 5, 32,
                                      QStringLiteral("Компьютерный аналог всемиизвестной,а так")),
                           11, false, {});
    LabelInfWeb = sheetLabel("LabelInfWeb", 1, 65, QStringLiteral("а так же зайдите на мою страничку"));
    LabelInfMail = styled(sheetLabel("LabelInfMail", 5, 57,
                                     QStringLiteral("С вопросами и предложениями пишите на")),
                          9, false, black);

    for (QLabel **link : {&LabelMail, &LabelWeb}) {
        const bool mail = link == &LabelMail;
        QLabel *label = sheetLabel(mail ? "LabelMail" : "LabelWeb", mail ? 200 : 161, mail ? 57 : 65,
                                   mail ? MailAddress : WebAddress);
        QFont font = comic(9);
        font.setUnderline(true);
        label->setFont(font);
        Palette::SetTextColour(label, blue);
        label->setCursor(Qt::PointingHandCursor);
        label->adjustSize();
        // An address longer than its place is set a little tighter and moved
        // left so that all of it stays on the sheet.
        if (label->x() + label->width() > PanelAnimate->width()) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
            label->setFont(font);
            label->adjustSize();
            const int overrun = label->x() + label->width() - PanelAnimate->width();
            if (overrun > 0)
                label->move(std::max(0, label->x() - overrun), label->y());
        }
        PressArea::Of(label)->setOnClick(mail ? std::function<void()>([this] { LabelMailClick(); })
                                              : std::function<void()>([this] { LabelWebClick(); }));
        *link = label;
    }

    LabelInfAutor = sheetLabel("LabelInfAutor", 194, 113, QStringLiteral("Автор: Quell"));
    LabelInfDate = sheetLabel("LabelInfDate", 0, 113, QStringLiteral("05.12.2001"));
    Label9 = styled(sheetLabel("Label9", 0, 42, QStringLiteral("же любимой телеигры \"Зорбан!\".")), 11, false, {});
    LabelInfHist1 = sheetLabel("LabelInfHist1", 3, 405, QStringLiteral("1.0 (30.08.01): Создана сама игра."));
    Label12 = sheetLabel("Label12", 3, 415, QStringLiteral("1.1 (11.09.01): Улучшен алгоритм выбора вопроса"));
    Label6 = sheetLabel("Label6", 3, 425, QStringLiteral("1.2 (15.09.01): Появилась таблица лидеров."));
    Label14 = sheetLabel("Label14", 3, 435, QStringLiteral("1.3 (04.10.01): Решены проблемы с системным тай-"));
    Label15 = sheetLabel("Label15", 3, 445, QStringLiteral("мером, подсказки стали реалистистичней."));
    LabelIV4 = fixed(sheetLabel("LabelIV4", 7, 148,
                                QStringLiteral("  13.11.2001: !  Исправлена очень крупная ошибка в модуле "
                                               "чтения/записи файла вопроника.")),
                     233, 25, true);
    LabelDV4 = styled(sheetLabel("LabelDV4", 3, 126, QStringLiteral("05.12.2001            1.5")), 19, true, black);
    Label23 = styled(sheetLabel("Label23", 3, 251, QStringLiteral("04.11.2001            1.4")), 19, true, black);
    Label24 = fixed(sheetLabel("Label24", 5, 273,
                               QStringLiteral("  18.10.2001: !  Решены проблемы с переходом в "
                                              "полноэкранный режим.")),
                    235, 26, true);
    LabelTitle = styled(sheetLabel("LabelTitle", 5, 0, QStringLiteral("Зорбан! Vantor 1.5")), 16, true, {});
    Label25 = fixed(sheetLabel("Label25", 5, 299,
                               QStringLiteral("  29.10.2001: + Появилось 15 категорий вопросов и количество "
                                              "вопросов увеличилось до 1700.")),
                    235, 26, true);
    Label17 = styled(sheetLabel("Label17", 134, 376, QStringLiteral("All")), 24, true, black);
    fixed(Label17, 109, 37, false);
    Label17->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label26 = fixed(sheetLabel("Label26", 5, 325,
                               QStringLiteral("  04.11.2001: + Добавлена возможность сохранения имени играющего.")),
                    235, 26, true);
    Label16 = fixed(sheetLabel("Label16", 3, 350,
                               QStringLiteral("   04.11.2001: + из-за новой технологии выбора вопроса вопросы "
                                              "не повторяются аж 100 игр подряд.")),
                    235, 30, true);
    Label7 = fixed(sheetLabel("Label7", 5, 174,
                              QStringLiteral("  05.12.2001: ! Переработан код перехода в полноэкранный режим.")),
                   233, 25, true);
    Label13 = fixed(sheetLabel("Label13", 5, 200,
                               QStringLiteral("  05.12.2001: ! Исправлена ошибка при крупном шрифте.")),
                    233, 25, true);
}

void TFormAbout::ImageOkMouseDown()
{
    // The picture goes while OK is held; the area keeps the mouse, so the
    // release still comes here.
    m_okHeld = true;
    ImageOk->setPixmap(QPixmap());
}

void TFormAbout::ImageOkMouseUp()
{
    m_okHeld = false;
    ImageOk->setPixmap(m_okPicture);
    close();
}

void TFormAbout::LabelMailClick()
{
    QDesktopServices::openUrl(MailUrl());
}

void TFormAbout::LabelWebClick()
{
    QDesktopServices::openUrl(WebUrl());
}

void TFormAbout::TimerCloseTimer()
{
    // The splash ends once; later showings stay until OK.
    TimerClose->stop();
    hide();
}

void TFormAbout::TimerIntervalTimer()
{
    TimerInterval->setInterval(IntervalAfterPhase(m_scrollPhase));
    m_scrollPhase = PhaseAfter(m_scrollPhase);
    // The new phase has a page to scroll.
    TimerAnimate->Wake();
}

void TFormAbout::TimerAnimateTimer()
{
    const int top = PanelAnimate->y();
    const int imageTop = ImageInfo->y();
    switch (m_scrollPhase) {
    case 1:
        if (top > -ScreenHeight)
            PanelAnimate->move(0, top - 1);
        break;
    case 2:
        if (top > -2 * ScreenHeight)
            PanelAnimate->move(0, top - 1);
        break;
    case 3:
        // The sheet's picture keeps its place on screen while the history
        // scrolls over it.
        if (top > -3 * ScreenHeight) {
            ImageInfo->move(ImageInfo->x(), ImageInfo->y() + 1);
            PanelAnimate->move(0, top - 1);
        }
        break;
    case 4:
        if (top < 0) {
            if (ImageInfo->y() > 0)
                ImageInfo->move(ImageInfo->x(), ImageInfo->y() - 2);
            PanelAnimate->move(0, top + 2);
        }
        break;
    }
    // A page scrolled to its end stays put until the next phase: most of
    // each phase, the ticks would only find nothing to do.
    if (PanelAnimate->y() == top && ImageInfo->y() == imageTop)
        TimerAnimate->Rest();
}

void TFormAbout::FormShow()
{
    if (!TimerInterval->isActive())
        TimerInterval->start();
    TimerAnimate->setEnabled(true);
}

void TFormAbout::FormHide()
{
    TimerInterval->stop();
    TimerAnimate->setEnabled(false);
    PanelAnimate->move(0, 0);
    TimerInterval->setInterval(FirstIntervalMs);
    m_scrollPhase = 4;
}
