#pragma once
// GBK text of the core as Qt text and back, at the widgets' edge.
#include <QString>

#include <string>
#include <string_view>

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);
