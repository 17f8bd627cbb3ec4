// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/portal_url.hpp"

#include <algorithm>
#include <cctype>

namespace langxing::testportal {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == prefix;
}

struct UrlParts {
  std::string scheme;     // lower case, without "://"; empty when the URL is not absolute
  std::string authority;  // lower case host[:port]
  std::string rest;       // path and query as written
};

UrlParts Split(std::string_view url) {
  UrlParts parts;
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos) {
    parts.rest = std::string(url);
    return parts;
  }
  parts.scheme = Lower(url.substr(0, schemeEnd));
  std::string_view afterScheme = url.substr(schemeEnd + 3);
  const std::size_t authorityEnd = afterScheme.find_first_of("/?#");
  parts.authority = Lower(afterScheme.substr(0, authorityEnd));
  if (authorityEnd != std::string_view::npos)
    parts.rest = std::string(afterScheme.substr(authorityEnd));
  return parts;
}

}  // namespace

std::string NormaliseUrl(std::string_view url) {
  UrlParts parts = Split(url);
  if (const std::size_t hash = parts.rest.find('#'); hash != std::string::npos)
    parts.rest.resize(hash);
  if (parts.scheme.empty()) return parts.rest;
  const std::string defaultPort = parts.scheme == "https" ? ":443" : ":80";
  if (parts.authority.size() > defaultPort.size() && parts.authority.ends_with(defaultPort)) {
    parts.authority.resize(parts.authority.size() - defaultPort.size());
  }
  if (parts.rest.empty() || parts.rest.front() != '/') parts.rest.insert(0, "/");
  return parts.scheme + "://" + parts.authority + parts.rest;
}

std::vector<std::string> LookupKeys(std::string_view url) {
  std::vector<std::string> keys{NormaliseUrl(url)};
  std::string trimmed(url);
  for (bool changed = true; changed;) {
    changed = false;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) {
      trimmed.pop_back();
      changed = true;
    }
    if (trimmed.ends_with("%20")) {
      trimmed.resize(trimmed.size() - 3);
      changed = true;
    }
  }
  if (std::string key = NormaliseUrl(trimmed); key != keys.front()) keys.push_back(std::move(key));
  return keys;
}

std::string AbsoluteUrlOf(std::string_view target, std::string_view hostHeader) {
  if (StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://")) {
    return std::string(target);
  }
  std::string url = "http://" + std::string(hostHeader);
  if (target.empty() || target.front() != '/') url += '/';
  url += target;
  return url;
}

std::optional<std::string> RedirectTarget(std::string_view url, std::string_view redirectHost) {
  if (HostOf(url) != Lower(redirectHost)) return std::nullopt;
  const std::size_t query = url.find('?');
  if (query == std::string_view::npos) return std::nullopt;
  const std::size_t key = url.find("url=", query);
  if (key == std::string_view::npos) return std::nullopt;
  std::string target(url.substr(key + 4));
  if (!StartsWithNoCase(target, "http://") && !StartsWithNoCase(target, "https://"))
    return std::nullopt;
  return target;
}

std::string HostOf(std::string_view url) {
  std::string authority = Split(url).authority;
  if (const std::size_t at = authority.rfind('@'); at != std::string::npos)
    authority.erase(0, at + 1);
  if (const std::size_t colon = authority.find(':'); colon != std::string::npos)
    authority.resize(colon);
  return authority;
}

}  // namespace langxing::testportal
