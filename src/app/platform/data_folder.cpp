#include "app/platform/data_folder.h"

#include <cstdlib>

#include "datastore/open_database.h"

namespace {

// $NAME when set to an absolute path, else ~/fallback.
std::filesystem::path XdgFolder(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / fallback;
}

bool HoldsDatabase(const std::filesystem::path& dir) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(dir / kPreferredDatabaseFile, ignored) ||
           std::filesystem::is_regular_file(dir / kDefaultDatabaseFile, ignored);
}

}  // namespace

std::optional<std::filesystem::path> ChooseDataFolder(const std::optional<std::filesystem::path>& dirOption) {
    std::filesystem::path dir;
    if (dirOption) dir = *dirOption;
    else if (HoldsDatabase(std::filesystem::current_path())) dir = std::filesystem::current_path();
    else dir = XdgFolder("XDG_DATA_HOME", ".local/share") / "korvel";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (!std::filesystem::is_directory(dir, error)) return std::nullopt;
    return std::filesystem::absolute(dir, error);
}

std::filesystem::path StateFolder() { return XdgFolder("XDG_STATE_HOME", ".local/state") / "korvel"; }
