// A message on the game's window is a panel of that window, never a window of
// its own that a compositor could keep out of sight; it holds the rest of the
// window until it is answered, gives the focus back where it was (a name box
// being typed into), and shows names and file names literally.

#include "forms/MessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMessageBox : public QObject {
    Q_OBJECT

private slots:
    void messageIsAPanelThatHoldsTheWindow_data();
    void messageIsAPanelThatHoldsTheWindow();
};

void TestMessageBox::messageIsAPanelThatHoldsTheWindow_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("answered with OK") << false;
    QTest::newRow("answered with Enter") << true;
}

void TestMessageBox::messageIsAPanelThatHoldsTheWindow()
{
    QFETCH(bool, byKey);
    QWidget surface;
    surface.resize(800, 600);
    auto *stage = new QWidget(&surface);
    stage->resize(800, 600);
    auto *nameBox = new QLineEdit(stage);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    nameBox->setFocus();
    const int windows = int(QApplication::topLevelWidgets().size());

    const QString text = QStringLiteral("<b>Ошибка</b> в QA/Base.QA");
    bool seen = false;
    QTimer::singleShot(0, &surface, [&] {
        auto *box = surface.findChild<QWidget *>(QStringLiteral("GameMessage"));
        QVERIFY(box && box->isVisible());
        QCOMPARE(int(QApplication::topLevelWidgets().size()), windows);
        QVERIFY(!stage->isEnabled());
        const QRect inside = surface.rect();
        QVERIFY(inside.contains(box->geometry()));
        auto *label = box->findChild<QLabel *>();
        QCOMPARE(label->text(), text);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        auto *ok = box->findChild<QPushButton *>();
        seen = true;
        if (byKey)
            QTest::keyClick(ok, Qt::Key_Return);
        else
            ok->click();
    });
    ShowMessage(stage, text);
    QVERIFY(seen);
    QVERIFY(stage->isEnabled());
    QCOMPARE(surface.focusWidget(), nameBox);
    auto *box = surface.findChild<QWidget *>(QStringLiteral("GameMessage"));
    QVERIFY(!box || !box->isVisible());
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
