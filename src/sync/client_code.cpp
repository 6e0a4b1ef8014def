#include "sync/client_code.h"

#include <unistd.h>

#include <climits>
#include <fstream>
#include <string>

namespace {

std::string_view Trimmed(std::string_view s) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "korvel";
    return name;
}

}  // namespace

const std::vector<std::filesystem::path>& MachineIdFiles() {
    static const std::vector<std::filesystem::path> files = {"/etc/machine-id", "/var/lib/dbus/machine-id"};
    return files;
}

uint32_t ClientCodeFor(std::string_view machineId) {
    uint32_t hash = 2166136261u;
    for (const char c : Trimmed(machineId)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

uint32_t ClientCode(const std::vector<std::filesystem::path>& idFiles) {
    for (const std::filesystem::path& file : idFiles) {
        const std::string id = FirstLine(file);
        if (!Trimmed(id).empty()) return ClientCodeFor(id);
    }
    return ClientCodeFor(HostName());
}
