// The page fetch against servers of the test's own on loopback: what counts
// as a page, the 2 MB cap, and the time bounds.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sync/client_code.h"
#include "sync/page_fetch.h"
#include "sync_fixture.h"

namespace {

using namespace std::chrono_literals;
using sync_test::TinyServer;

constexpr size_t kCap = 2097152;

std::string Url(const TinyServer& server, const std::string& path) { return "http://" + server.host() + path; }

TEST(PageFetch, OnlyStatus200GivesTheBodyByteForByte) {
    const std::string gbk = "<a>\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0</a>\r\n";  // 浦发银行 in GBK
    TinyServer server([&](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/ok") response.set_content(gbk, "text/xml; charset=gb2312");
        else if (request.path == "/moved") response.set_redirect("/ok");
        else {
            response.status = request.path == "/broken" ? 500 : 404;
            response.set_content("error page body", "text/html");
        }
    });
    EXPECT_EQ(GetHtml(Url(server, "/ok")), gbk);
    EXPECT_EQ(GetHtml(Url(server, "/missing")), "");
    EXPECT_EQ(GetHtml(Url(server, "/broken")), "");
    EXPECT_EQ(GetHtml(Url(server, "/moved")), "");  // no redirects followed
}

TEST(PageFetch, ABodyOverTheCapFailsWholeAlsoWhenChunked) {
    TinyServer server([](const httplib::Request& request, httplib::Response& response) {
        const size_t size = request.path == "/at-cap" ? kCap : kCap + 1;
        if (request.path != "/chunked") {
            response.set_content(std::string(size, 'x'), "text/plain");
            return;
        }
        // No length announced: the cap must hold while the body streams in.
        response.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
            if (offset > kCap) {
                sink.done();
                return true;
            }
            const std::string piece(65536, 'y');
            return sink.write(piece.data(), piece.size());
        });
    });
    EXPECT_EQ(GetHtml(Url(server, "/at-cap")).size(), kCap);
    EXPECT_EQ(GetHtml(Url(server, "/over-cap")), "");
    EXPECT_EQ(GetHtml(Url(server, "/chunked")), "");
    // A smaller cap applies the same way.
    EXPECT_EQ(GetHtml(Url(server, "/at-cap"), FetchLimits{1000ms, 5000ms, kCap - 1}), "");
}

TEST(PageFetch, NoServerOrAStalledServerFailsWithinTheTimeOut) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GetHtml("http://" + sync_test::ClosedHost() + "/login.php"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

    // Connected, but no reply comes.
    const TinyServer stalled([](const httplib::Request&, httplib::Response&) { std::this_thread::sleep_for(1s); });
    const auto stalledStart = std::chrono::steady_clock::now();
    EXPECT_EQ(GetHtml("http://" + stalled.host() + "/login.php", FetchLimits{200ms, 400ms, kCap}), "");
    const auto took = std::chrono::steady_clock::now() - stalledStart;
    EXPECT_GE(took, 350ms);
    EXPECT_LT(took, 3s);
}

TEST(ClientCode, StableHashOfTheMachineIdWithAFallback) {
    testing_support::TempDir dir;
    sync_test::WriteFile(dir / "machine-id", "0123456789abcdef0123456789abcdef\n");
    const uint32_t code = ClientCode({dir / "missing", dir / "machine-id"});
    EXPECT_EQ(code, ClientCodeFor("0123456789abcdef0123456789abcdef"));
    EXPECT_EQ(code, ClientCode({dir / "machine-id"}));
    EXPECT_NE(code, ClientCodeFor("0123456789abcdef0123456789abcdee"));
    // Without any id the code comes from the host name: the same every time.
    EXPECT_EQ(ClientCode({dir / "missing"}), ClientCode({dir / "missing"}));
    sync_test::WriteFile(dir / "empty", "\n");
    EXPECT_EQ(ClientCode({dir / "empty"}), ClientCode({dir / "missing"}));
}

}  // namespace
