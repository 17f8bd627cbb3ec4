// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/downloader.hpp"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/http.hpp"
#include "core/text.hpp"
#include "tests/support/loopback_server.hpp"
#include "tests/support/raw_port.hpp"
#include "tests/support/scoped_env.hpp"

namespace langxing {
namespace {

using namespace std::chrono_literals;
using test_support::LoopbackServer;
using test_support::RawPort;
using test_support::ScopedEnv;

// "中文" in GBK and in UTF-8.
const std::string kGbkChinese = "\xD6\xD0\xCE\xC4";
const std::string kUtf8Chinese = "\xE4\xB8\xAD\xE6\x96\x87";

// gzip (windowBits 16 + 15) or zlib-wrapped deflate (15), the two encodings HTTP calls by name.
std::string Compress(const std::string& data, int windowBits) {
  z_stream zs{};
  deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, data.size()) + 32, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

// Pages that name their character set in each way a page can, or not at all.
struct CharsetPage {
  const char* name;
  std::string body;
  const char* contentType;
  const char16_t* callersCharset;
  const char16_t* text;  // as DownloadText gives it
};
const CharsetPage kCharsetPages[] = {
    {"UTF-8 page declaring UTF-8, caller's GB2312", "<meta charset=\"utf-8\">" + kUtf8Chinese,
     "text/html", u"GB2312", u"<meta charset=\"utf-8\">中文"},
    {"GB2312 page as the portal served it",
     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">" + kGbkChinese,
     "text/html", u"GB2312",
     u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">中文"},
    {"GB2312 page on the blog host, caller's utf-8", "<meta charset=gb2312>" + kGbkChinese,
     "text/html", u"utf-8", u"<meta charset=gb2312>中文"},
    {"header wins over meta", "<meta charset=\"gb2312\">" + kUtf8Chinese,
     "text/html; charset=utf-8", u"GB2312", u"<meta charset=\"gb2312\">中文"},
    {"header gbk over meta utf-8", "<meta charset=\"utf-8\">" + kGbkChinese,
     "text/html; charset=GBK", u"utf-8", u"<meta charset=\"utf-8\">中文"},
    {"unknown header charset, meta decides", "<meta charset=\"utf-8\">" + kUtf8Chinese,
     "text/html; charset=bogus", u"GB2312", u"<meta charset=\"utf-8\">中文"},
    {"byte-order mark", "\xEF\xBB\xBF<p>" + kUtf8Chinese, "text/html", u"GB2312", u"<p>中文"},
    {"names nothing: the caller's GB2312", "<p>" + kGbkChinese, "text/html", u"GB2312", u"<p>中文"},
    {"names nothing: the caller's utf-8", "<p>" + kUtf8Chinese, "text/html", u"utf-8", u"<p>中文"},
    {"meta in a comment names nothing", "<!-- <meta charset=utf-8> -->" + kGbkChinese, "text/html",
     u"GB2312", u"<!-- <meta charset=utf-8> -->中文"},
    {"a page that names its charset needs no known caller's", "<meta charset=utf-8>" + kUtf8Chinese,
     "text/html", u"klingon", u"<meta charset=utf-8>中文"},
};

NetworkLimits ShortLimits() {
  NetworkLimits limits;
  limits.connectTimeout = 300ms;
  limits.totalTimeout = 400ms;
  limits.maxBodyBytes = 64 * 1024;
  return limits;
}

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.ClearProxies();
    auto& s = server_.server();
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<html><body>plain page</body></html>", "text/html");
    });
    s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("<html><body>no such page</body></html>", "text/html");
    });
    s.Get(R"(/charset/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      const CharsetPage& page = kCharsetPages[std::stoul(req.matches[1].str())];
      res.set_content(page.body, page.contentType);
    });
    s.Get("/old",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/page"); });
    s.Get("/loop",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    s.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("file:///etc/hostname");
    });
    s.Get("/gzip", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Content-Encoding", "gzip");
      res.set_content(Compress("<p>" + kUtf8Chinese + " gzip</p>", 16 + MAX_WBITS),
                      "application/octet-stream");
    });
    s.Get("/deflate", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Content-Encoding", "deflate");
      res.set_content(Compress("<p>deflate</p>", MAX_WBITS), "application/octet-stream");
    });
    s.Get("/sized", [](const httplib::Request& req, httplib::Response& res) {
      const auto bytes = std::stoul(req.get_param_value("n"));
      res.set_content(std::string(bytes, 'x'), "application/octet-stream");
    });
    s.Get("/endless", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("application/octet-stream",
                                       [](size_t, httplib::DataSink& sink) {
                                         const std::string chunk(16 * 1024, 'y');
                                         return sink.write(chunk.data(), chunk.size());
                                       });
    });
    // The head, then nothing more until the test ends. (Not text: the server would compress
    // text and hold the bytes back.)
    s.Get("/head-then-nothing", [this](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("application/octet-stream",
                                       [this](size_t, httplib::DataSink&) {
                                         std::this_thread::sleep_for(50ms);
                                         return !release_;
                                       });
    });
    // One byte every 400 ms for 12 s: slow, never stalled.
    s.Get("/trickle", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("application/octet-stream",
                                       [](size_t offset, httplib::DataSink& sink) {
                                         if (offset >= 30) {
                                           sink.done();
                                           return true;
                                         }
                                         std::this_thread::sleep_for(400ms);
                                         return sink.write("t", 1);
                                       });
    });
    server_.Start();
  }
  void TearDown() override { release_ = true; }

  std::string Url(const std::string& path) const { return server_.Url(path); }
  std::u16string Download(const std::string& path, std::u16string_view charset = u"utf-8") {
    return CurlDownloader(ShortLimits()).DownloadText(Utf8ToUtf16(Url(path)), charset);
  }

  ScopedEnv env_;
  std::atomic<bool> release_{false};
  LoopbackServer server_;
};

TEST_F(DownloadTest, ReturnsTheBodyOfAnErrorPage) {
  EXPECT_EQ(Download("/missing"), u"<html><body>no such page</body></html>");
  const HttpResponse response = HttpGet(Url("/missing"), {}, ShortLimits());
  EXPECT_TRUE(response.ok);
  EXPECT_EQ(response.status, 404);
  EXPECT_EQ(response.contentType, "text/html");
}

TEST_F(DownloadTest, SendsIfModifiedSinceZeroAsItsOnlyHeader) {
  ASSERT_EQ(Download("/page"), u"<html><body>plain page</body></html>");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const auto& headers = requests[0].headers;
  EXPECT_EQ(headers.count("If-Modified-Since"), 1u);
  auto it = headers.find("If-Modified-Since");
  ASSERT_NE(it, headers.end());
  EXPECT_EQ(it->second, "0");
  // Nothing of ours besides it: only what any HTTP/1.1 client sends.
  for (const auto& [name, value] : headers) {
    EXPECT_TRUE(name == "If-Modified-Since" || name == "Host" || name == "Accept" ||
                name == "Accept-Encoding" || name == "REMOTE_ADDR" || name == "REMOTE_PORT" ||
                name == "LOCAL_ADDR" || name == "LOCAL_PORT")
        << name << ": " << value;
  }
}

// The page's own charset (header, byte-order mark, meta, in that order) decides; the caller's
// is the default for a page that names none.
TEST_F(DownloadTest, DecodesByThePagesOwnCharsetAndTheCallersWhereItNamesNone) {
  for (std::size_t i = 0; i < std::size(kCharsetPages); ++i) {
    const CharsetPage& page = kCharsetPages[i];
    EXPECT_EQ(Download("/charset/" + std::to_string(i), page.callersCharset), page.text)
        << page.name;
  }
}

TEST_F(DownloadTest, FollowsRedirects) {
  EXPECT_EQ(Download("/old"), u"<html><body>plain page</body></html>");
  const HttpResponse response = HttpGet(Url("/old"), {}, ShortLimits());
  EXPECT_EQ(response.effectiveUrl, Url("/page"));
}

TEST_F(DownloadTest, UndoesGzipAndDeflate) {
  EXPECT_EQ(Download("/gzip"), u"<p>中文 gzip</p>");
  EXPECT_EQ(Download("/deflate"), u"<p>deflate</p>");
}

TEST_F(DownloadTest, ForgivesBlanksAroundAndInsideAScrapedAddress) {
  // A scraped link keeps the blank that stood before the next attribute.
  EXPECT_EQ(CurlDownloader(ShortLimits())
                .DownloadText(u"  " + Utf8ToUtf16(Url("/page")) + u" ", u"utf-8"),
            u"<html><body>plain page</body></html>");
  EXPECT_EQ(HttpGet(Url("/a b/中"), {}, ShortLimits()).status, 404);
  const auto requests = server_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().target, "/a%20b/%E4%B8%AD");
}

TEST_F(DownloadTest, BodyCapIsInclusive) {
  NetworkLimits limits = ShortLimits();
  limits.maxBodyBytes = 1000;
  EXPECT_EQ(HttpGet(Url("/sized?n=1000"), {}, limits).body.size(), 1000u);
  const HttpResponse over = HttpGet(Url("/sized?n=1001"), {}, limits);
  EXPECT_FALSE(over.ok);
  EXPECT_TRUE(over.body.empty());
}

TEST_F(DownloadTest, EveryFailureGivesTheEmptyTextAndSaysWhatKindItWas) {
  RawPort refused;  // bound but not listening
  RawPort stalled;
  stalled.Listen();
  struct Case {
    const char* name;
    std::u16string url;
    std::u16string charset;
    LoadFailure kind;  // kNone: the page came, but cannot be read in that charset
  };
  const Case cases[] = {
      {"redirect loop", Utf8ToUtf16(Url("/loop")), u"utf-8", LoadFailure::kOther},
      {"redirect to a local file", Utf8ToUtf16(Url("/to-file")), u"utf-8", LoadFailure::kOther},
      {"refused port", Utf8ToUtf16(refused.Url("/")), u"utf-8", LoadFailure::kCannotConnect},
      {"unknown host", u"http://x.invalid/", u"utf-8", LoadFailure::kHostNotFound},
      {"stalled server", Utf8ToUtf16(stalled.Url("/")), u"utf-8", LoadFailure::kTimedOut},
      {"body over the cap", Utf8ToUtf16(Url("/sized?n=70000")), u"utf-8", LoadFailure::kTooLarge},
      {"endless body", Utf8ToUtf16(Url("/endless")), u"utf-8", LoadFailure::kTooLarge},
      {"unknown charset", Utf8ToUtf16(Url("/page")), u"klingon", LoadFailure::kNone},
      {"empty charset", Utf8ToUtf16(Url("/page")), u"", LoadFailure::kNone},
      {"empty url", u"", u"utf-8", LoadFailure::kOther},
      {"blank url", u"   ", u"utf-8", LoadFailure::kOther},
      {"no scheme", u"not a url", u"utf-8", LoadFailure::kOther},
      {"no host", u"http://", u"utf-8", LoadFailure::kOther},
      {"bad port", u"http://127.0.0.1:99999/", u"utf-8", LoadFailure::kOther},
      {"file scheme", u"file:///etc/hostname", u"utf-8", LoadFailure::kOther},
      {"ftp scheme", u"ftp://127.0.0.1/", u"utf-8", LoadFailure::kOther},
      {"control character", Utf8ToUtf16(Url("/pa")) + u'\x01' + u"ge", u"utf-8",
       LoadFailure::kOther},
  };
  for (const auto& c : cases) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(CurlDownloader(ShortLimits()).DownloadText(c.url, c.charset), u"") << c.name;
    // The injected limits apply, not the default ones.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s) << c.name;
    CurlDownloader downloader(ShortLimits());
    const DownloadedPage page = downloader.DownloadPage(c.url, c.charset);
    EXPECT_EQ(page.text, u"") << c.name;
    EXPECT_EQ(page.failure, c.kind) << c.name << ": " << page.error;
    // The reason is kept for the caller that only has the text (the companion's article).
    EXPECT_EQ(downloader.LastError(), page.error) << c.name;
    EXPECT_EQ(page.error.empty(), c.kind == LoadFailure::kNone) << c.name;
  }
}

TEST_F(DownloadTest, CancelAbortsAStalledTransfer) {
  RawPort stalled;
  stalled.Listen();
  NetworkLimits limits;  // the default limits: only the cancel can end this early
  std::atomic<bool> cancel{false};
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(100ms);
    cancel = true;
  });
  const auto started = std::chrono::steady_clock::now();
  const HttpResponse response = HttpGet(stalled.Url("/"), {}, limits, &cancel);
  const auto elapsed = std::chrono::steady_clock::now() - started;
  canceller.join();
  EXPECT_FALSE(response.ok);
  EXPECT_LT(elapsed, 10s);
}

// A name server that never answers holds a lookup for the resolver's whole timeout; a cancel
// must not wait for it. The lookup runs in a child with a mount namespace of its own, where
// /etc/resolv.conf names a loopback socket that takes queries and answers none. Skipped where
// the child may not make the namespace or take port 53 (needs root). Not on the fixture: its
// server's threads would be forked mid-allocation, and the child could hang on a lock.
TEST(NameLookupTest, CancelDoesNotWaitForANameServerThatNeverAnswers) {
  constexpr int kSkip = 77;
  ScopedEnv env;
  env.ClearProxies();  // a proxy would be looked up instead of the page's host
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    const int silent = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    address.sin_addr.s_addr = htonl(0x7F000035);  // 127.0.0.53
    char conf[] = "/tmp/langxing-resolv-XXXXXX";
    const int confFd = mkstemp(conf);
    const char text[] = "nameserver 127.0.0.53\noptions timeout:5 attempts:2\n";
    if (silent < 0 || bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        confFd < 0 || write(confFd, text, sizeof text - 1) != sizeof text - 1 ||
        unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
        mount(conf, "/etc/resolv.conf", nullptr, MS_BIND, nullptr) != 0)
      _exit(kSkip);
    unlink(conf);
    std::atomic<bool> cancel{false};
    std::thread canceller([&cancel] {
      std::this_thread::sleep_for(200ms);
      cancel = true;
    });
    const auto started = std::chrono::steady_clock::now();
    const HttpResponse response = HttpGet("http://unanswered.invalid/", {}, {}, &cancel);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    canceller.join();
    _exit(response.failure == LoadFailure::kCancelled && elapsed < 3s ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kSkip) GTEST_SKIP() << "no mount namespace or port 53 here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the cancel waited for the lookup, or did not cancel";
}

// With the program's own limits: no byte for 10 s fails the transfer, a slow one goes on.
TEST_F(DownloadTest, AStalledTransferFailsASlowOneGoesOn) {
  std::u16string slow;
  std::thread trickle(
      [&] { slow = CurlDownloader().DownloadText(Utf8ToUtf16(Url("/trickle")), u"utf-8"); });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(CurlDownloader().DownloadText(Utf8ToUtf16(Url("/head-then-nothing")), u"utf-8"), u"");
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_GE(elapsed, 9s);
  EXPECT_LT(elapsed, 12s);
  trickle.join();
  EXPECT_EQ(slow, std::u16string(30, u't'));
}

TEST_F(DownloadTest, HeaderLinesCannotSmuggleFurtherHeaders) {
  const HttpResponse response =
      HttpGet(Url("/page"), {"If-Modified-Since: 0\r\nX-Injected: 1"}, ShortLimits());
  EXPECT_FALSE(response.ok);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(DownloadTest, ProxyFromTheEnvironmentGetsTheAbsoluteAddress) {
  // No route matches the proxied address: the server answers 404, which is still a response.
  env_.Set("http_proxy", Url(""));
  const HttpResponse response = HttpGet("http://news.sina.com.cn/x", {}, ShortLimits());
  EXPECT_TRUE(response.ok);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "http://news.sina.com.cn/x");
  auto host = requests[0].headers.find("Host");
  ASSERT_NE(host, requests[0].headers.end());
  EXPECT_EQ(host->second, "news.sina.com.cn");
}

}  // namespace
}  // namespace langxing
