// SPDX-License-Identifier: GPL-3.0-or-later
// The portal as the program's own HTTP client meets it: proxy from the environment, gzip
// accepted, the program's time-outs and size cap.
#include <gtest/gtest.h>

#include "core/http.hpp"
#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {
namespace {

TEST(PortalWithProgramClient, FollowsRedirectToGbkArticleThroughTheEnvironmentProxy) {
  TestPortal portal;
  ScopedProxy proxy(portal);
  const HttpResponse response =
      HttpGet("http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/083020191234.shtml",
              {"If-Modified-Since: 0"});
  ASSERT_TRUE(response.ok);
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.effectiveUrl, "http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
  EXPECT_NE(FromGbk(response.body).value_or("").find("<!-- 内容列 begin -->"), std::string::npos);
  const auto headers =
      portal.RequestHeaders("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
  EXPECT_NE(std::find(headers.begin(), headers.end(), "If-Modified-Since: 0"), headers.end());
}

TEST(PortalWithProgramClient, FailuresAreFailedTransfers) {
  TestPortal portal;
  ScopedProxy proxy(portal);
  NetworkLimits quick;
  quick.totalTimeout = std::chrono::milliseconds(500);
  EXPECT_FALSE(HttpGet("http://news.sina.com.cn/c/2010-05-01/stall.shtml", {}, quick).ok);
  EXPECT_FALSE(HttpGet("http://news.sina.com.cn/c/2010-05-01/close.shtml", {}).ok);
  const HttpResponse oversized =
      HttpGet("http://news.sina.com.cn/c/2010-05-01/oversized.shtml", {});
  EXPECT_FALSE(oversized.ok);
  EXPECT_TRUE(oversized.body.empty());
  const HttpResponse missing = HttpGet("http://news.sina.com.cn/c/2010-05-01/gone.shtml", {});
  EXPECT_TRUE(missing.ok);
  EXPECT_EQ(missing.status, 404);
  EXPECT_FALSE(missing.body.empty());
}

}  // namespace
}  // namespace langxing::testportal
