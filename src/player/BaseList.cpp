#include "player/BaseList.h"

#include "player/PlayerRules.h"
#include "questionbase/SafeFile.h"

#include <QDir>

#include <algorithm>

QStringList ListBaseFiles(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QStringList bases;
    for (const QString &name : entries) {
        if (name.endsWith(QLatin1String(".QA"), Qt::CaseInsensitive)
            && PlayerRules::IsBareFileName(name) && SafeFile::IsRegularFile(dir.filePath(name)))
            bases.append(name);
    }
    std::sort(bases.begin(), bases.end(), [](const QString &a, const QString &b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return bases;
}
