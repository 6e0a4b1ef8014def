#pragma once
// Where the core sends a message the user must see (the GUI shows a message
// box, the CLI prints a line on stderr). The text is UTF-8, ready to show.
#include <functional>
#include <string_view>

using MessageSink = std::function<void(std::string_view message)>;
