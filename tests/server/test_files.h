#pragma once
// The server tests' temporary folders and files (from tests/support) and a
// collecting import log.
#include <string>
#include <vector>

#include "../support/file_content.h"
#include "../support/temp_dir.h"
#include "server/import_log.h"

namespace server_test {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// Keeps the problems an import reports; progress lines are dropped.
struct CollectingLog {
    std::vector<std::string> problems;
    server::ImportLog log() {
        return server::ImportLog{[this](const std::string& p) { problems.push_back(p); },
                                 [](const std::string&) {}};
    }
};

}  // namespace server_test
