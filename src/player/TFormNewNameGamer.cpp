#include "player/TFormNewNameGamer.h"

#include "forms/Accessible.h"

#include "art/Art.h"
#include "forms/AutoSizeLabel.h"
#include "player/BaseDescription.h"
#include "player/BaseList.h"
#include "forms/DialogHost.h"
#include "player/DialogParts.h"
#include "forms/Fonts.h"
#include "game/GameSession.h"
#include "forms/MessageBox.h"
#include "forms/Palette.h"
#include "player/PlayerRules.h"
#include "player/PlayerSettings.h"
#include "forms/PressLabel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QValidator>

#include <algorithm>

namespace {

// Keeps the name box to characters the settings file can hold, at most 20;
// typed and pasted text alike.
class NameValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        PlayerRules::CleanNameInput(input, pos);
        return Acceptable;
    }

    void fixup(QString &input) const override { input = PlayerRules::CleanName(input); }
};

} // namespace

TFormNewNameGamer::TFormNewNameGamer(GameSession &session, DialogHost &host)
    : DialogPanel(&host, host.DialogSurface(), QStringLiteral("Замена имени"), {FormWidth, FormHeight},
                  Palette::Night)
    , m_session(session)
{
    setObjectName(QStringLiteral("FormNewNameGamer"));
    buildControls();
}

void TFormNewNameGamer::buildControls()
{
    using DialogParts::StyleLabel;
    const QColor white(255, 255, 255);
    const Qt::Alignment centred = Qt::AlignCenter;
    const QString art = QStringLiteral("TFormNewNameGamer/");

    ImageForm = DialogParts::MakePicture(this, QStringLiteral("ImageForm"), art + "ImageForm",
                                         {0, 0, FormWidth, FormHeight});

    LabelDialog = new QLabel(this);
    StyleLabel(LabelDialog, QStringLiteral("LabelDialog"), {15, 6, 433, 59},
               GameFont(FontFamily::TimesNewRoman, 24), white, centred,
               QStringLiteral("Представтесь, и мы сможем начать игру!"), true);

    ImageBtnOk = DialogParts::MakePicture(this, QStringLiteral("ImageBtnOk"), art + "ImageBtnOk",
                                          {351, 137, 51, 35});
    LabelBtnOk = new PressLabel(this);
    StyleLabel(LabelBtnOk, QStringLiteral("LabelBtnOk"), {351, 137, 51, 35},
               GameFont(FontFamily::Arial, 21, true), white, centred, QStringLiteral("Ok"));

    ImageNextN1 = DialogParts::MakePicture(this, QStringLiteral("ImageNextN1"), art + "ImageNextN1",
                                           {348, 56, 25, 35});
    ImageNextN1->hide();
    ImageNextN2 = DialogParts::MakePicture(this, QStringLiteral("ImageNextN2"), art + "ImageNextN2",
                                           {348, 93, 25, 35});
    ImageNextN2->hide();
    LabelNextN1 = new PressLabel(this);
    StyleLabel(LabelNextN1, QStringLiteral("LabelNextN1"), {348, 56, 25, 35}, font(), white, centred, {});
    LabelNextN2 = new PressLabel(this);
    StyleLabel(LabelNextN2, QStringLiteral("LabelNextN2"), {348, 93, 25, 35}, font(), white, centred, {});

    LabelNBase = new QLabel(this);
    StyleLabel(LabelNBase, QStringLiteral("LabelNBase"), {58, 142, 226, 24},
               GameFont(FontFamily::Arial, 11), white, centred, QStringLiteral("Имя"), true);

    Label2 = new AutoSizeLabel(this, {135, 122});
    StyleLabel(Label2, QStringLiteral("Label2"), {135, 122, 78, 19},
               GameFont(FontFamily::TimesNewRoman, 16), white, Qt::AlignLeft | Qt::AlignTop, {});
    static_cast<AutoSizeLabel *>(Label2)->setText(QStringLiteral("Вопросник:"));

    ImageBckB = DialogParts::MakePicture(this, QStringLiteral("ImageBckB"), art + "ImageBckB",
                                         {277, 142, 30, 12});
    ImageBckB->hide();
    ImageNxtB = DialogParts::MakePicture(this, QStringLiteral("ImageNxtB"), art + "ImageNxtB",
                                         {277, 155, 30, 12});
    ImageNxtB->hide();
    LabelBckB = new PressLabel(this);
    StyleLabel(LabelBckB, QStringLiteral("LabelBckB"), {277, 142, 30, 12}, font(), white, centred, {});
    LabelNxtB = new PressLabel(this);
    StyleLabel(LabelNxtB, QStringLiteral("LabelNxtB"), {277, 155, 30, 12}, font(), white, centred, {});

    EditNewNameGamer = new QLineEdit(this);
    EditNewNameGamer->setObjectName(QStringLiteral("EditNewNameGamer"));
    EditNewNameGamer->setGeometry(125, 82, 209, 21);
    EditNewNameGamer->setFrame(false);
    EditNewNameGamer->setFont(GameFont(FontFamily::Arial, 16, true));
    EditNewNameGamer->setValidator(new NameValidator(EditNewNameGamer));
    // No length limit of the box itself: a pasted text is cleaned first and
    // then cut to 20 by the validator.
    QPalette palette = EditNewNameGamer->palette();
    palette.setColor(QPalette::Base, Palette::Orange);
    palette.setColor(QPalette::Text, white);
    palette.setColor(QPalette::Highlight, Palette::Night);
    palette.setColor(QPalette::HighlightedText, white);
    EditNewNameGamer->setPalette(palette);
    EditNewNameGamer->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(EditNewNameGamer);

    // Only named: the box keeps its own reader interface, which offers the
    // text typed and tells that it is editable.
    EditNewNameGamer->setAccessibleName(QStringLiteral("Имя игрока"));
    Accessible::Describe(LabelBtnOk, QAccessible::Button, QStringLiteral("Ok"));
    Accessible::Describe(LabelNextN1, QAccessible::Button, QStringLiteral("Предыдущее имя"));
    Accessible::Describe(LabelNextN2, QAccessible::Button, QStringLiteral("Следующее имя"));
    Accessible::Describe(LabelBckB, QAccessible::Button, QStringLiteral("Предыдущий вопросник"));
    Accessible::Describe(LabelNxtB, QAccessible::Button, QStringLiteral("Следующий вопросник"));

    LabelBtnOk->setOnPress([this](QMouseEvent *) { LabelBtnOkMouseDown(); });
    LabelBtnOk->setOnRelease([this](QMouseEvent *) { LabelBtnOkMouseUp(); });
    LabelNextN1->setOnPress([this](QMouseEvent *) { LabelNextN1MouseDown(); });
    LabelNextN1->setOnRelease([this](QMouseEvent *) { LabelNextN1MouseUp(); });
    LabelNextN2->setOnPress([this](QMouseEvent *) { LabelNextN2MouseDown(); });
    LabelNextN2->setOnRelease([this](QMouseEvent *) { LabelNextN2MouseUp(); });
    LabelBckB->setOnPress([this](QMouseEvent *) { LabelBckBMouseDown(); });
    LabelBckB->setOnRelease([this](QMouseEvent *) { LabelBckBMouseUp(); });
    LabelNxtB->setOnPress([this](QMouseEvent *) { LabelNxtBMouseDown(); });
    LabelNxtB->setOnRelease([this](QMouseEvent *) { LabelNxtBMouseUp(); });
    // A release that may not act only ends the pressed look.
    LabelBtnOk->setOnRestore([this] { ImageBtnOk->show(); });
    LabelNextN1->setOnRestore([this] { ImageNextN1->hide(); });
    LabelNextN2->setOnRestore([this] { ImageNextN2->hide(); });
    LabelBckB->setOnRestore([this] { ImageBckB->hide(); });
    LabelNxtB->setOnRestore([this] { ImageNxtB->hide(); });
}

QString TFormNewNameGamer::QAFolder()
{
    return QStringLiteral("QA");
}

QString TFormNewNameGamer::SettingsPath()
{
    return QString::fromLatin1(PlayerSettings::FileName);
}

// ---- Showing and hiding ---------------------------------------------------

void TFormNewNameGamer::FormShow()
{
    m_inShowSequence = true;
    BaseFileList = ListBaseFiles(QAFolder());
    HoldStage();
    readSettings();
    DescribeBase(m_session.state().CurrentBaseFile);
    m_inShowSequence = false;
    EditNewNameGamer->setFocus(Qt::OtherFocusReason);
}

void TFormNewNameGamer::FormHide()
{
    // Nothing stays pressed into the next showing.
    ImageBtnOk->show();
    ImageNextN1->hide();
    ImageNextN2->hide();
    ImageBckB->hide();
    ImageNxtB->hide();
    ReleaseStage();
    m_session.AnnouncePlayer();
}

void TFormNewNameGamer::readSettings()
{
    const QString path = SettingsPath();
    const std::optional<PlayerSettings::Contents> read = PlayerSettings::Read(path);
    if (!read) {
        // Unreadable or missing: start again from the defaults, silently.
        m_session.ChooseBase(QString::fromLatin1(PlayerSettings::DefaultBaseFile));
        KnownPlayerNames.clear();
        QString error;
        if (!PlayerSettings::Write(path, PlayerSettings::DefaultContents(), &error))
            report(tr("Не удалось записать файл настроек %1:\n%2").arg(path, error));
        return;
    }
    if (read->BaseFile)
        m_session.ChooseBase(*read->BaseFile);
    if (read->Names)
        KnownPlayerNames = *read->Names;
}

// ---- Describing a base ------------------------------------------------------

bool TFormNewNameGamer::DescribeBase(const QString &fileName)
{
    const QString relative = QAFolder() + QLatin1Char('/') + fileName;
    if (BaseFileList.isEmpty() && !QFileInfo::exists(relative)) {
        report(NoBasesMessage(QDir(QAFolder()).absolutePath()));
        return false;
    }
    if (!PlayerRules::IsBareFileName(fileName)) {
        report(tr("Вопросная база \"%1\" должна лежать прямо в папке %2.").arg(fileName, QAFolder()));
        return false;
    }

    const BaseSummary summary = DescribeBaseFile(relative);
    if (summary.failure == BaseSummary::Failure::Open) {
        report(tr("Не удалось открыть вопросную базу %1:\n%2\n\nВыберите другую базу стрелками.")
                   .arg(relative, summary.Error));
        return false;
    }

    LabelNBase->setText(summary.Title);
    DescribedLevelCounts = summary.LevelCounts;
    m_session.DescribeLevels(summary.LevelCounts);
    if (!summary.ok()) {
        report(tr("Вопросная база %1 повреждена:\n%2").arg(relative, summary.Error));
        return false;
    }
    LabelNBase->setText(BaseDescription(summary.Title, fileName));
    return true;
}

void TFormNewNameGamer::chooseBase(int index)
{
    if (BaseFileList.isEmpty())
        return;
    BaseFileIndex = index;
    m_session.ChooseBase(BaseFileList.at(BaseFileIndex));
    DescribeBase(m_session.state().CurrentBaseFile);
}

void TFormNewNameGamer::findBasesAgainIfNone()
{
    // The no-base message asks the player to put a base into QA and choose it
    // here: the arrows look again, so that works without reopening the dialog.
    if (BaseFileList.isEmpty())
        BaseFileList = ListBaseFiles(QAFolder());
}

void TFormNewNameGamer::showKnownName()
{
    const int count = int(KnownPlayerNames.size());
    if (count == 0)
        return;
    KnownNameIndex = std::clamp(KnownNameIndex, 0, count - 1);
    EditNewNameGamer->setText(KnownPlayerNames.at(KnownNameIndex));
}

// ---- Buttons and arrows -----------------------------------------------------

void TFormNewNameGamer::LabelBtnOkMouseDown()
{
    ImageBtnOk->hide();
}

void TFormNewNameGamer::LabelBtnOkMouseUp()
{
    ImageBtnOk->show();

    const QString typed = EditNewNameGamer->text();
    // The main window greets the player, shows the base and clears the
    // score, the countdown, the clock and the ladder.
    m_session.NamePlayer(typed, LabelNBase->text(), TotalQuestions(DescribedLevelCounts));

    // The typed name goes first when it is new; no name is ever stored twice.
    // The list in memory is read back from the file at the next showing.
    const QByteArray contents = PlayerSettings::Compose(m_session.state().CurrentBaseFile, typed, KnownPlayerNames);
    QString error;
    if (!PlayerSettings::Write(SettingsPath(), contents, &error)) {
        report(tr("Не удалось записать файл настроек %1:\n%2").arg(SettingsPath(), error));
        return;
    }
    hide();
}

void TFormNewNameGamer::LabelNextN1MouseDown()
{
    ImageNextN1->show();
}

void TFormNewNameGamer::LabelNextN1MouseUp()
{
    ImageNextN1->hide();
    KnownNameIndex = PlayerRules::UpperNameIndex(KnownNameIndex, int(KnownPlayerNames.size()));
    showKnownName();
}

void TFormNewNameGamer::LabelNextN2MouseDown()
{
    ImageNextN2->show();
}

void TFormNewNameGamer::LabelNextN2MouseUp()
{
    ImageNextN2->hide();
    KnownNameIndex = PlayerRules::LowerNameIndex(KnownNameIndex, int(KnownPlayerNames.size()));
    showKnownName();
}

void TFormNewNameGamer::LabelBckBMouseDown()
{
    ImageBckB->show();
}

void TFormNewNameGamer::LabelBckBMouseUp()
{
    ImageBckB->hide();
    findBasesAgainIfNone();
    chooseBase(PlayerRules::UpperBaseIndex(BaseFileIndex, int(BaseFileList.size())));
}

void TFormNewNameGamer::LabelNxtBMouseDown()
{
    ImageNxtB->show();
}

void TFormNewNameGamer::LabelNxtBMouseUp()
{
    ImageNxtB->hide();
    findBasesAgainIfNone();
    chooseBase(PlayerRules::LowerBaseIndex(BaseFileIndex, int(BaseFileList.size())));
}

// ---- Messages -----------------------------------------------------------------

void TFormNewNameGamer::report(const QString &text)
{
    if (m_inShowSequence) {
        reportLater(text);
        return;
    }
    ShowMessage(this, text);
}

void TFormNewNameGamer::reportLater(const QString &text)
{
    QTimer::singleShot(0, this, [this, text] { ShowMessage(this, text); });
}
