#include "chart/paint/chinese_fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

void InstallChineseFontSubstitutes() {
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun"})
        QFont::insertSubstitutions(QString::fromUtf8(name), QStringList{serif, sans});
    for (const char* name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei", "MS Sans Serif", "Tahoma"})
        QFont::insertSubstitutions(QString::fromUtf8(name), QStringList{sans, serif});
}
