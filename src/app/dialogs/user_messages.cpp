#include "app/dialogs/user_messages.h"

#include <string_view>

#include <QMessageBox>

#include "app/message_box_sink.h"

namespace {

// The texts keep their "\r\n" line ends; a box shows "\n".
QString Lines(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

void ShowNotice(QWidget* parent, const QString& text) { ShowInformation(parent, Lines(text)); }

bool AskQuestion(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, ProgramTitle(), Lines(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

UserMessages& Messages() {
    static UserMessages messages{ShowNotice, AskQuestion};
    return messages;
}

void Inform(QWidget* parent, const QString& text) { Messages().inform(parent, text); }

bool Ask(QWidget* parent, const QString& text) { return Messages().ask(parent, text); }

std::function<void(std::string_view)> InformSink(QWidget* parent) {
    return [parent](std::string_view message) {
        Inform(parent, QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    };
}
