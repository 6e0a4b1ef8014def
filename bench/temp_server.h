#pragma once
// korvel-server in process on an ephemeral loopback port, serving a data
// folder made in a temporary directory, alive as long as the object. The
// benchmarks that measure the server keep one for their whole run.
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "datastore/database.h"
#include "server/data_server.h"
#include "server/importers.h"
#include "server/server_database.h"

namespace bench_support {

// An import log that stops the benchmark on the first problem.
inline const server::ImportLog kQuietImport{[](const std::string& p) { throw std::runtime_error(p); },
                                            [](const std::string&) {}};

class TempServer {
public:
    // `fill` imports the data into the new folder's database.
    explicit TempServer(const std::function<void(Database&, const std::filesystem::path&)>& fill) {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        {
            Database db = server::OpenServerDatabase(dir_);
            fill(db, dir_);
        }
        server_ = std::make_unique<server::DataServer>(dir_, false);
        port_ = server_->Bind({"127.0.0.1", 0}).port;
        thread_ = std::thread([this] { server_->Run(); });
    }
    ~TempServer() {
        server_->Stop();
        thread_.join();
        server_.reset();
        std::filesystem::remove_all(dir_);
    }
    TempServer(const TempServer&) = delete;
    TempServer& operator=(const TempServer&) = delete;

    int port() const { return port_; }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::unique_ptr<server::DataServer> server_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace bench_support
