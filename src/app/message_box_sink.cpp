#include "app/message_box_sink.h"

#include <QMessageBox>

MessageSink MessageBoxSink(QWidget* parent) {
    return [parent](std::string_view message) {
        QMessageBox::warning(parent, ProgramTitle(),
                             QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    };
}

void ShowInformation(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, ProgramTitle(), text);
}
