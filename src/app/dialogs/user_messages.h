#pragma once
// The message boxes of the wizard and the dialogs: a notice with an OK
// button and a Yes/No question. They go through replaceable functions, so
// tests answer them without a blocking box.
#include <functional>
#include <string_view>

#include <QString>

class QWidget;

struct UserMessages {
    std::function<void(QWidget* parent, const QString& text)> inform;
    std::function<bool(QWidget* parent, const QString& text)> ask;  // true for Yes
};

// The functions in use; replace their members to answer from a test.
UserMessages& Messages();

// Shows `text` with an OK button.
void Inform(QWidget* parent, const QString& text);
// Asks `text` with Yes and No; true for Yes.
bool Ask(QWidget* parent, const QString& text);

// A MessageSink-shaped notice for the core's messages (UTF-8).
std::function<void(std::string_view)> InformSink(QWidget* parent);
