#include "app/dialogs/log_box.h"

LogBox::LogBox(QWidget* parent) : QPlainTextEdit(parent) { setReadOnly(true); }

void LogBox::Prepend(const QString& line) { SetLog(line + QStringLiteral("\r\n") + log_); }

void LogBox::SetLog(const QString& log) {
    log_ = log;
    QString shown = log_;
    setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}
