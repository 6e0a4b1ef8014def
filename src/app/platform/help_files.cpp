#include "app/platform/help_files.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

QString UserGuidePath() {
    const QString candidates[] = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/korvel/user-guide.md"),
        QStringLiteral(KORVEL_SOURCE_DIR "/docs/user-guide.md"),
    };
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile()) return QFileInfo(path).absoluteFilePath();
    return {};
}

bool OpenInSystemBrowser(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }
