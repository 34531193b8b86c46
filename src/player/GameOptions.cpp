#include "player/GameOptions.h"

#include "questionbase/AtomicFile.h"

#include <QFile>
#include <QList>

GameOptions GameOptions::Parse(const QByteArray &bytes)
{
    GameOptions options;
    for (QByteArray line : bytes.split('\n')) {
        line = line.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if (value != "0" && value != "1")
            continue;
        if (key == "Sound")
            options.Sound = value == "1";
        else if (key == "Window")
            options.Window = value == "1";
    }
    return options;
}

QByteArray GameOptions::Compose() const
{
    return QByteArray("Sound=") + (Sound ? "1" : "0") + "\r\nWindow=" + (Window ? "1" : "0") + "\r\n";
}

GameOptions GameOptions::Read(const QString &path)
{
    QFile file(path);
    // Only a small regular file is read: anything else gives the defaults.
    if (!file.open(QIODevice::ReadOnly) || file.isSequential() || file.size() > 4096)
        return {};
    return Parse(file.readAll());
}

bool GameOptions::Write(const QString &path) const
{
    return !WriteFileAtomically(path, Compose()).has_value();
}
