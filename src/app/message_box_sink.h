#pragma once
// The core's messages for the user as message boxes (on the calling thread,
// which must be the user-interface thread; workers go through JobRunner::Sink).
#include <QString>

#include "datastore/message_sink.h"

class QWidget;

// The program's message box title.
inline QString ProgramTitle() { return QStringLiteral("Korvel"); }

MessageSink MessageBoxSink(QWidget* parent);

// An information box with the program's title.
void ShowInformation(QWidget* parent, const QString& text);
