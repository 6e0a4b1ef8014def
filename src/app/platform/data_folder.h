#pragma once
// The folder the desktop program works in: it holds the database, and the
// bundled data server's database when that server is used.
#include <filesystem>
#include <optional>

// `dirOption` (the --dir option) when given; else the current directory
// when it holds a database ("korvel.db3" or "thedb.db3"); else the user's
// data folder ($XDG_DATA_HOME/korvel, normally ~/.local/share/korvel).
// The folder is created when missing; nothing when that fails.
std::optional<std::filesystem::path> ChooseDataFolder(const std::optional<std::filesystem::path>& dirOption);

// The user's state folder for this program ($XDG_STATE_HOME/korvel,
// normally ~/.local/state/korvel), not created.
std::filesystem::path StateFolder();
