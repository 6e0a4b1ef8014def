#pragma once
// The log of the export, import and cleanup dialogs: read-only text with
// the newest line on top.
#include <QPlainTextEdit>
#include <QString>

class LogBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LogBox(QWidget* parent = nullptr);

    // Puts `line` and "\r\n" in front of the text so far.
    void Prepend(const QString& line);
    // Replaces the whole text ("\r\n" line ends).
    void SetLog(const QString& log);
    // The text with its "\r\n" line ends.
    const QString& Log() const { return log_; }

private:
    QString log_;
};
