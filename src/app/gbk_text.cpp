#include "app/gbk_text.h"

#include "text/gbk.h"

QString FromGbk(std::string_view gbk) { return QString::fromStdString(text::GbkToUtf8(gbk)); }

std::string ToGbk(const QString& text) { return text::Utf8ToGbk(text.toStdString()); }

QString Shown(const std::string& gbk) { return FromGbk(gbk).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
