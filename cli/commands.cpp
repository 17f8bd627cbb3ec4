// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.hpp"

#include <cerrno>
#include <cstring>

#include "catalog/catalog.hpp"
#include "catalog/channel_file.hpp"
#include "catalog/channel_file_places.hpp"
#include "catalog/missing_channel_file.hpp"
#include "cli/blocking_page_load.hpp"
#include "cli/output.hpp"
#include "core/downloader.hpp"
#include "core/html_document.hpp"
#include "core/portal.hpp"
#include "core/status_texts.hpp"
#include "core/text.hpp"
#include "headlines/headline_page_feed.hpp"
#include "headlines/headline_run.hpp"
#include "reader/render_article.hpp"
#include "update/announcement.hpp"

namespace langxing::cli {
namespace {

// The folder of the first of `folders` that holds chan.dll, or none after saying where it was
// looked for.
std::optional<std::filesystem::path> FindChannelFolderOrSay(
    const std::vector<std::filesystem::path>& folders, Context& context) {
  auto folder = FindChannelFolder(folders);
  if (!folder) {
    context.err << MissingChannelFileLine("langxing-cli", folders);
  }
  return folder;
}

// A page that could not be loaded at all: the address and the transport's reason.
int ReportLoadFailure(Context& context, std::string_view url, std::string_view reason) {
  // The address may come from a page or a channel file, the reason may quote one.
  WriteItem(context.err, u"langxing-cli: 页面加载失败 (could not load the page): " +
                             Utf8ToUtf16(url) + u": " + Utf8ToUtf16(reason));
  return ExitLoadFailed;
}

// Status texts go to stderr, one a line, only with --verbose.
StatusWriter StatusWriterFor(const Request& request, Context& context) {
  if (!request.verbose) return [](std::u16string_view) {};
  return [&err = context.err](std::u16string_view text) { WriteItem(err, text); };
}

void WriteCatalogNode(std::ostream& out, const CatalogNode& node, std::size_t depth) {
  WriteItem(out, node.text, std::string(2 * depth, ' '));
  for (const auto& child : node.children) WriteCatalogNode(out, child, depth + 1);
}

// Loads the page with the headless loader and lists its headlines as the headline list
// would hold them, with the status texts of a headline load.
int PrintHeadlinesOf(const std::u16string& url, const StatusWriter& setStatus, Context& context) {
  const PageLoad load =
      LoadPageBlocking(url, context.limits, PatienceFor(context.limits), HeadlineFeedSources());
  if (!load.body) return ReportLoadFailure(context, Utf16ToUtf8(url), load.error);
  HeadlineRunHooks hooks;
  hooks.setStatus = setStatus;
  hooks.listed = [&out = context.out](const HeadlineEntries& entries) {
    for (const auto& entry : entries) WriteItem(out, entry);
  };
  RunHeadlines({[&body = load.body->innerHtml] { return body; }, load.rollFeed}, hooks);
  return 0;
}

// One GET and the serialisation the hidden views apply; none, reported, when the transfer failed.
std::optional<BodyTexts> FetchBody(const std::string& url, Context& context) {
  const HttpResponse response = HttpGet(url, {}, context.limits);
  if (!response.ok) {
    ReportLoadFailure(context, url, response.error);
    return std::nullopt;
  }
  return BodyTextsOfPage(response.body, response.contentType);
}

}  // namespace

int RunCatalog(const Request& request, Context& context) {
  // A folder named on the command line is the only one looked in.
  const auto folder = FindChannelFolderOrSay(
      request.directory ? std::vector<std::filesystem::path>{*request.directory}
                        : context.channelFolders,
      context);
  if (!folder) return ExitNotFound;
  WriteCatalogNode(context.out, BuildCatalogTree(LoadChannelFile(*folder)), 0);
  return 0;
}

int RunHeadlines(const Request& request, Context& context) {
  const StatusWriter setStatus = StatusWriterFor(request, context);
  if (request.url) return PrintHeadlinesOf(Utf8ToUtf16(*request.url), setStatus, context);

  // As a click on the channel's node: the first line that contains the text, its address.
  setStatus(StatusFetching);
  const auto folder = FindChannelFolderOrSay(context.channelFolders, context);
  if (!folder) return ExitNotFound;
  const std::u16string channel = Utf8ToUtf16(request.channel.value_or(""));
  const auto lines = LoadChannelFile(*folder);
  const auto index = FindChannelLine(lines, channel);
  if (!index) {
    context.err << "langxing-cli: 没有找到频道 (no line of " << (*folder / ChannelFileName).string()
                << " holds the channel): " << Utf16ToUtf8(channel) << '\n';
    return ExitNotFound;
  }
  return PrintHeadlinesOf(ChannelUrlOf(lines[*index]), setStatus, context);
}

int RunInnerHtml(const Request& request, Context& context) {
  const auto body = FetchBody(*request.url, context);
  if (!body) return ExitLoadFailed;
  WriteVerbatim(context.out, body->innerHtml);
  return 0;
}

int RunInnerText(const Request& request, Context& context) {
  const auto body = FetchBody(*request.url, context);
  if (!body) return ExitLoadFailed;
  WriteVerbatim(context.out, body->innerText);
  return 0;
}

int RunArticle(const Request& request, Context& context) {
  const std::u16string url = Utf8ToUtf16(*request.url);
  CurlDownloader downloader(context.limits);
  const std::u16string page =
      RenderArticle(url, request.reader, downloader, StatusWriterFor(request, context));
  if (!downloader.LastError().empty()) {
    return ReportLoadFailure(context, *request.url, downloader.LastError());
  }
  WriteVerbatim(context.out, page);
  return page == ArticleFailurePage(url, request.reader) ? ExitArticleFailed : 0;
}

int RunCheckUpdate(const Request& request, Context& context) {
  const StatusWriter setStatus = StatusWriterFor(request, context);
  const std::u16string url =
      request.url ? Utf8ToUtf16(*request.url) : std::u16string(UpdatePageUrl);
  setStatus(StatusCheckingVersion);
  const PageLoad load = LoadPageBlocking(url, context.limits, PatienceFor(context.limits));
  if (!load.body) return ReportLoadFailure(context, Utf16ToUtf8(url), load.error);

  const auto announcement = ParseAnnouncement(load.body->innerText);
  if (!announcement) {
    context.out << "none\n";
    return 0;
  }
  if (VerdictOf(*announcement) == UpdateVerdict::UpToDate) {
    setStatus(StatusIdle);
    context.out << "current\n";
    return 0;
  }
  context.out << "outdated\n";
  WriteItem(context.out, announcement->message);
  WriteItem(context.out, announcement->downloadUrl);
  return 0;
}

namespace {

int RunRequest(const Request& request, Context& context) {
  switch (request.command) {
    case Command::Help:
      context.out << UsageText(request.helpTopic);
      return 0;
    case Command::Version:
      context.out << "langxing-cli " << Utf16ToUtf8(ProgramVersion) << '\n';
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

}  // namespace

int RunCli(const std::vector<std::string>& args, Context& context) {
  const ParseOutcome parsed = ParseArguments(args);
  if (!parsed.request) {
    context.err << "langxing-cli: " << parsed.error << '\n' << UsageText(parsed.command);
    return ExitUsage;
  }
  const int status = RunRequest(*parsed.request, context);
  // A result that did not reach its reader is no success (a full disk, say). The system's reason
  // is known when the last flush is what failed.
  const bool writtenSoFar = context.out.good();
  errno = 0;
  context.out.flush();
  if (!context.out) {
    const int error = writtenSoFar ? errno : 0;
    context.err << "langxing-cli: could not write the output"
                << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    return ExitOutputFailed;
  }
  return status;
}

}  // namespace langxing::cli
