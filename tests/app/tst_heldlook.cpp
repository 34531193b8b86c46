// While a dialog holds the main window (disabling it), the window must look
// exactly as it does when free: no faded pictures behind the dialog.
#include "game/GameSession.h"
#include "app/TFormMain.h"
#include "widgets/TThreadedTimer.h"

#include <QTest>

class TestHeldLook : public QObject {
    Q_OBJECT

private slots:
    void heldWindowLooksTheSame()
    {
        GameSession session;
        TFormMain main(session);
        main.TimerForMenu->setEnabled(false);
        main.show();
        QWidget dialog;

        const QImage free = main.grab().toImage();
        main.holdFor(&dialog);
        QVERIFY(!main.Stage->isEnabled());
        const QImage held = main.grab().toImage();
        main.releaseFrom(&dialog);
        QVERIFY(main.Stage->isEnabled());

        QCOMPARE(held.size(), free.size());
        int differing = 0;
        for (int y = 0; y < free.height(); ++y) {
            for (int x = 0; x < free.width(); ++x) {
                if (free.pixel(x, y) != held.pixel(x, y))
                    ++differing;
            }
        }
        QCOMPARE(differing, 0);
    }
};

QTEST_MAIN(TestHeldLook)
#include "tst_heldlook.moc"
