#pragma once
// GBK text of the core as Qt text and back, at the widgets' edge.
#include <QString>

#include <string>
#include <string_view>

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);
// As a multi-line widget shows it: FromGbk with "\r\n" line ends as "\n".
QString Shown(const std::string& gbk);
