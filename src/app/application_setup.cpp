#include "app/application_setup.h"

#include <QApplication>
#include <QFont>

#include "chart/paint/chinese_fonts.h"
#include "datastore/program_version.h"

void SetUpApplication(QApplication& app) {
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::kText));
    InstallChineseFontSubstitutes();
    app.setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
}
