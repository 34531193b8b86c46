#pragma once

// A main window with the phone dialog on a scratch folder holding a small
// test base, a player named and messages swallowed: the bench the keyboard
// and screen-reader tests play on.
#include "TestBase.h"
#include "app/TFormMain.h"
#include "forms/MessageBox.h"
#include "game/GameSession.h"
#include "lifelines/TFormPromptTelephone.h"
#include "widgets/TThreadedTimer.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

struct MainWindowBench {
    std::unique_ptr<QTemporaryDir> dir;
    QString previous;
    std::unique_ptr<GameSession> session;
    std::unique_ptr<TFormMain> form;
    std::unique_ptr<TFormPromptTelephone> phone;

    // False when the scratch folder or its base could not be made.
    bool Open()
    {
        SetMessageSinkForTests([](const QString &) {});
        dir = std::make_unique<QTemporaryDir>();
        previous = QDir::currentPath();
        if (!dir->isValid() || !QDir::setCurrent(dir->path()) || !QDir().mkdir(QStringLiteral("QA"))
            || !TestBase::Write(QStringLiteral("QA/Base.QA"), TestBase::Make(3, 1)))
            return false;
        session = std::make_unique<GameSession>();
        session->ChooseBase(QStringLiteral("Base.QA"));
        session->NamePlayer(QStringLiteral("Вера"), QStringLiteral("Проверочная база"), 45);
        form = std::make_unique<TFormMain>(*session);
        form->TimerForMenu->setEnabled(false);
        phone = std::make_unique<TFormPromptTelephone>(*session, *form);
        return true;
    }

    void Close()
    {
        phone.reset();
        form.reset();
        session.reset();
        QDir::setCurrent(previous);
        dir.reset();
        SetMessageSinkForTests({});
    }
};
