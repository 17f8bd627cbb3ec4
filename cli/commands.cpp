// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.hpp"

#include "catalog/catalog.hpp"
#include "catalog/channel_file.hpp"
#include "cli/blocking_page_load.hpp"
#include "cli/output.hpp"
#include "core/downloader.hpp"
#include "core/html_document.hpp"
#include "core/portal.hpp"
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "reader/render_article.hpp"
#include "update/announcement.hpp"

namespace langxing::cli {
namespace {

constexpr std::string_view kMissingChannelFile = "错误！软件缺少必要文件";

// Status texts go to stderr, one a line, only with --verbose.
StatusWriter StatusWriterFor(const Request& request, Context& context) {
  if (!request.verbose) return [](std::u16string_view) {};
  return [&err = context.err](std::u16string_view text) { WriteItem(err, text); };
}

void WriteCatalogNode(std::ostream& out, const CatalogNode& node, std::size_t depth) {
  WriteItem(out, node.text, std::string(2 * depth, ' '));
  for (const auto& child : node.children) WriteCatalogNode(out, child, depth + 1);
}

void ReportLoadTimeout(Context& context, const std::u16string& url) {
  context.err << "langxing-cli: 页面加载未完成 (no answer in time): " << Utf16ToUtf8(url) << '\n';
}

// Loads the page with the headless loader and lists its headlines as the headline list
// would hold them, with the status texts of a headline load.
int PrintHeadlinesOf(const std::u16string& url, const StatusWriter& setStatus, Context& context) {
  auto body = LoadPageBlocking(url, context.limits, PatienceFor(context.limits));
  if (!body) {
    ReportLoadTimeout(context, url);
    return 1;
  }
  setStatus(u"状态：获取》");
  const auto rows = HeadlineRows(body->innerHtml);
  setStatus(u"状态：获取》》");
  auto entries = HeadlineEntriesOfRows(rows, DefaultTitleStartMarker);
  setStatus(u"状态：获取完成");
  if (entries.empty()) entries.emplace_back(ApologyLine);
  for (const auto& entry : entries) WriteItem(context.out, entry);
  setStatus(u"状态：空闲");
  return 0;
}

// One GET and the serialisation the hidden views apply; none when the transfer failed.
std::optional<BodyTexts> FetchBody(const std::string& url, Context& context) {
  const HttpResponse response = HttpGet(url, {}, context.limits);
  if (!response.ok) {
    context.err << "langxing-cli: 页面加载失败 (could not load the page): " << url << '\n';
    return std::nullopt;
  }
  return BodyTextsOfPage(response.body, response.contentType);
}

}  // namespace

int RunCatalog(const Request& request, Context& context) {
  const std::filesystem::path dir =
      request.directory ? std::filesystem::path(*request.directory) : context.workingDirectory;
  if (!ChannelFileExists(dir)) {
    context.err << kMissingChannelFile << '\n';
    return 1;
  }
  WriteCatalogNode(context.out, BuildCatalogTree(LoadChannelFile(dir)), 0);
  return 0;
}

int RunHeadlines(const Request& request, Context& context) {
  const StatusWriter setStatus = StatusWriterFor(request, context);
  if (request.url) return PrintHeadlinesOf(Utf8ToUtf16(*request.url), setStatus, context);

  // As a click on the channel's node: the first line that contains the text, its address.
  setStatus(u"状态：获取");
  if (!ChannelFileExists(context.workingDirectory)) {
    context.err << kMissingChannelFile << '\n';
    return 1;
  }
  const std::u16string channel = Utf8ToUtf16(request.channel.value_or(""));
  const auto lines = LoadChannelFile(context.workingDirectory);
  const auto index = FindChannelLine(lines, channel);
  if (!index) {
    context.err << "langxing-cli: 没有找到频道 (no line of chan.dll holds the channel): "
                << Utf16ToUtf8(channel) << '\n';
    return 1;
  }
  return PrintHeadlinesOf(ChannelUrlOf(lines[*index]), setStatus, context);
}

int RunInnerHtml(const Request& request, Context& context) {
  const auto body = FetchBody(*request.url, context);
  if (!body) return 1;
  WriteVerbatim(context.out, body->innerHtml);
  return 0;
}

int RunInnerText(const Request& request, Context& context) {
  const auto body = FetchBody(*request.url, context);
  if (!body) return 1;
  WriteVerbatim(context.out, body->innerText);
  return 0;
}

int RunArticle(const Request& request, Context& context) {
  const std::u16string url = Utf8ToUtf16(*request.url);
  CurlDownloader downloader(context.limits);
  const std::u16string page =
      RenderArticle(url, request.reader, downloader, StatusWriterFor(request, context));
  WriteVerbatim(context.out, page);
  context.out.flush();
  return page == ArticleFailurePage(url) ? ExitArticleFailed : 0;
}

int RunCheckUpdate(const Request& request, Context& context) {
  const StatusWriter setStatus = StatusWriterFor(request, context);
  const std::u16string url =
      request.url ? Utf8ToUtf16(*request.url) : std::u16string(UpdatePageUrl);
  setStatus(u"状态：检查版本。。。");
  auto body = LoadPageBlocking(url, context.limits, PatienceFor(context.limits));
  if (!body) ReportLoadTimeout(context, url);
  const std::u16string text = body ? body->innerText : std::u16string{};

  const auto announcement = ParseAnnouncement(text);
  if (!announcement) {
    context.out << "none\n";
    return 0;
  }
  if (VerdictOf(*announcement) == UpdateVerdict::UpToDate) {
    setStatus(u"状态：空闲");
    context.out << "current\n";
    return 0;
  }
  context.out << "outdated\n";
  WriteItem(context.out, announcement->message);
  WriteItem(context.out, announcement->downloadUrl);
  return 0;
}

int RunCli(const std::vector<std::string>& args, Context& context) {
  const ParseOutcome parsed = ParseArguments(args);
  if (!parsed.request) {
    context.err << "langxing-cli: " << parsed.error << '\n' << UsageText(parsed.command);
    return ExitUsage;
  }
  const Request& request = *parsed.request;
  switch (request.command) {
    case Command::Help:
      context.out << UsageText(request.helpTopic);
      return 0;
    case Command::Version:
      context.out << Utf16ToUtf8(ProgramVersion) << '\n';
      return 0;
    case Command::Catalog:
      return RunCatalog(request, context);
    case Command::Headlines:
      return RunHeadlines(request, context);
    case Command::InnerHtml:
      return RunInnerHtml(request, context);
    case Command::InnerText:
      return RunInnerText(request, context);
    case Command::Article:
      return RunArticle(request, context);
    case Command::CheckUpdate:
      return RunCheckUpdate(request, context);
  }
  return ExitUsage;
}

}  // namespace langxing::cli
