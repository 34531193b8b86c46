// The message box seam, the system's error texts and the font stand-ins.
#include "forms/Fonts.h"
#include "forms/MessageBox.h"

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cerrno>

class TestServices : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void sinkRecordsInsteadOfShowing();
    void realBoxShowsMarkupLiterallyWithOneOk();
    void errorReportUsesTheSystemText_data();
    void errorReportUsesTheSystemText();

    void gameFontsResolveToInstalledFaces_data();
    void gameFontsResolveToInstalledFaces();
    void pointSizesBecomePixelsAt96Dpi_data();
    void pointSizesBecomePixelsAt96Dpi();
};

void TestServices::cleanup()
{
    SetMessageSinkForTests({});
}

void TestServices::sinkRecordsInsteadOfShowing()
{
    QStringList first;
    QStringList second;
    SetMessageSinkForTests([&](const QString &text) { first << text; });
    ShowMessage(nullptr, QStringLiteral("один"));
    const MessageSink previous = SetMessageSinkForTests([&](const QString &text) { second << text; });
    ShowMessage(nullptr, QStringLiteral("два"));
    previous(QStringLiteral("три"));
    QCOMPARE(first, QStringList({QStringLiteral("один"), QStringLiteral("три")}));
    QCOMPARE(second, QStringList{QStringLiteral("два")});
}

void TestServices::realBoxShowsMarkupLiterallyWithOneOk()
{
    // A player name like this must appear as typed, never as markup.
    const QString text = QStringLiteral("<b>Вася</b> & <img src=x>");
    QString shown;
    Qt::TextFormat format = Qt::RichText;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->text();
        format = box->textFormat();
        buttons = box->standardButtons();
        box->accept();
    });
    ShowMessage(nullptr, text);
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestServices::errorReportUsesTheSystemText_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing file") << ENOENT << QStringLiteral("No such file or directory");
    QTest::newRow("no permission") << EACCES << QStringLiteral("Permission denied");
    QTest::newRow("disk full") << ENOSPC << QStringLiteral("No space left on device");
}

void TestServices::errorReportUsesTheSystemText()
{
    QFETCH(int, error);
    QFETCH(QString, text);
    QStringList shown;
    SetMessageSinkForTests([&](const QString &message) { shown << message; });
    QCOMPARE(SystemErrorText(error), text);
    ShowSystemError(nullptr, error);
    QCOMPARE(shown, QStringList{text});
}

void TestServices::gameFontsResolveToInstalledFaces_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("face");
    QTest::newRow("Arial") << int(FontFamily::Arial) << QStringLiteral("Liberation Sans");
    QTest::newRow("Times New Roman") << int(FontFamily::TimesNewRoman) << QStringLiteral("Liberation Serif");
    QTest::newRow("Tahoma") << int(FontFamily::Tahoma) << QStringLiteral("Tahoma");
    QTest::newRow("MS Sans Serif") << int(FontFamily::MsSansSerif) << QStringLiteral("Tahoma");
    QTest::newRow("Comic Sans MS") << int(FontFamily::ComicSansMs) << QStringLiteral("DejaVu Sans");
}

void TestServices::gameFontsResolveToInstalledFaces()
{
    QFETCH(int, family);
    QFETCH(QString, face);
    const QFont font = GameFont(FontFamily(family), 19, true);
    const QFontInfo info(font);
    // The stand-in is really installed: the window system did not fall back
    // to some other face.
    QVERIFY2(info.family().startsWith(face), qPrintable(info.family()));
    QCOMPARE(info.pixelSize(), 19);
    QVERIFY(info.bold());
}

void TestServices::pointSizesBecomePixelsAt96Dpi_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("pixels");
    for (const auto &[points, pixels] : {std::pair{8, 11}, {10, 13}, {12, 16}, {14, 19}, {16, 21}, {20, 27}})
        QTest::addRow("%d pt", points) << points << pixels;
}

void TestServices::pointSizesBecomePixelsAt96Dpi()
{
    QFETCH(int, points);
    QFETCH(int, pixels);
    QCOMPARE(PointsToPixels(points), pixels);
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
