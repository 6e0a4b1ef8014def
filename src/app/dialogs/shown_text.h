#pragma once
// GBK text of the core as a widget shows it: UTF-8 with "\n" line ends; and
// the way back for text a user typed.
#include <string>

#include <QString>

QString Shown(const std::string& gbk);
std::string ToGbk(const QString& shown);
