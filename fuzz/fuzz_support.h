#pragma once
// What the fuzz targets share: a scratch folder for the run (removed at
// exit), the input written to a file for readers that take a path, and the
// client's and the server's databases.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "datastore/database.h"
#include "datastore/open_database.h"
#include "server/server_database.h"

namespace fuzz {

class ScratchFolder {
public:
    ScratchFolder() {
        // In memory where there is a tmpfs: the targets commit on every input.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "korvel-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline const std::filesystem::path& Scratch() {
    static const ScratchFolder folder;
    return folder.path();
}

inline std::filesystem::path WriteInput(const std::string& name, const uint8_t* data, size_t size) {
    const std::filesystem::path file = Scratch() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    return file;
}

// The client's database, made once per run in the scratch folder.
inline Database& ClientDatabase() {
    static Database db = [] {
        std::filesystem::create_directories(Scratch() / "client");
        std::optional<Database> opened = OpenDatabase(Scratch() / "client", [](std::string_view) {});
        if (!opened) throw std::runtime_error("cannot make the client database");
        opened->Exec("PRAGMA synchronous = OFF");  // durability is no concern here
        return std::move(*opened);
    }();
    return db;
}

// A server database in the scratch folder.
inline Database& ServerDatabase() {
    static Database db = [] {
        Database opened = server::OpenServerDatabase(Scratch() / "server");
        opened.Exec("PRAGMA synchronous = OFF");
        return opened;
    }();
    return db;
}

}  // namespace fuzz
