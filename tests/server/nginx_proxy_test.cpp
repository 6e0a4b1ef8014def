// docs/nginx/korvel.conf as written, run by Debian's nginx on loopback in
// front of korvel-server: every reply through the proxy is the server's own,
// byte for byte. Skipped where nginx is not installed.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "../support/free_port.h"
#include "server_fixture.h"

namespace {

constexpr const char* kNginx = "/usr/sbin/nginx";

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// nginx in the foreground, one process, everything it writes in `dir`.
class Nginx {
public:
    Nginx(const std::filesystem::path& dir, int port) {
        const std::string d = dir.string();
        server_test::WriteFile(dir / "nginx.conf",
                               "daemon off; master_process off; pid " + d + "/nginx.pid;\n"
                               "error_log " + d + "/error.log;\n"
                               "events { worker_connections 256; }\n"
                               "http {\n access_log off;\n"
                               " client_body_temp_path " + d + "/body; proxy_temp_path " + d + "/proxy;\n"
                               " fastcgi_temp_path " + d + "/fastcgi; uwsgi_temp_path " + d + "/uwsgi;\n"
                               " scgi_temp_path " + d + "/scgi;\n include " + d + "/korvel.conf;\n}\n");
        pid_ = testing_support::Spawn({kNginx, "-c" + d + "/nginx.conf", "-p" + d + "/"}, d + "/nginx.out", "");
        // Ready once the port answers.
        for (int i = 0; i < 200 && pid_ > 0; ++i) {
            if (httplib::Client("127.0.0.1", port).Get("/")) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~Nginx() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
};

using NginxProxy = server_test::ServerTest;

TEST_F(NginxProxy, TheExampleConfigurationPassesEveryReplyUnchanged) {
    if (!std::filesystem::exists(kNginx)) GTEST_SKIP() << "nginx is not installed";
    Start({"--per-client", "0"});
    const int port = testing_support::FreeLoopbackPort();
    std::string conf = server_test::ReadFile(std::filesystem::path(KORVEL_SOURCE_DIR) / "docs/nginx/korvel.conf");
    Replace(conf, "listen 80;", "listen 127.0.0.1:" + std::to_string(port) + ";");
    Replace(conf, "server 127.0.0.1:18080;", "server " + server_->host() + ";");
    server_test::WriteFile(dir_ / "korvel.conf", conf);
    const Nginx nginx(dir_.path(), port);

    for (const char* target :
         {"/login.php?vrsn=1106&code=1&from=1", "/code.php?vrsn=1106&code=1&pdate=0",
          "/daily.php?vrsn=1106&code=1&mrkt=SS&stck=600000&frst=0&last=99999999",
          "/divid.php?mrkt=SS&stck=600000&frst=0&last=99999999", "/pool.php?modl=vpool",
          "/daily.php?mrkt=SS&stck=600000&frst=x&last=1", "/nowhere"}) {
        const server_test::Reply want = Get(target), got = server_test::Fetch(port, target);
        ASSERT_NE(got.status, 0) << target << ": " << server_test::ReadFile(dir_ / "error.log");
        EXPECT_EQ(got.status, want.status) << target;
        EXPECT_EQ(got.body, want.body) << target;
        EXPECT_EQ(got.content_type, want.content_type) << target;
    }
    // nginx takes only GET (and HEAD) to korvel-server.
    EXPECT_EQ(httplib::Client("127.0.0.1", port).Post("/login.php?from=1", "x", "text/plain")->status, 403);
}

}  // namespace
