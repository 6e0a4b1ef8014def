#include "app/dialogs/shown_text.h"

#include "text/gbk.h"

QString Shown(const std::string& gbk) {
    return QString::fromStdString(text::GbkToUtf8(gbk)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string ToGbk(const QString& shown) { return text::Utf8ToGbk(shown.toStdString()); }
