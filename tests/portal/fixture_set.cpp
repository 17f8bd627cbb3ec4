// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/fixture_set.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "tests/portal/generated_pages.hpp"

namespace langxing::testportal {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::istringstream in{std::string(line)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

Page::Behaviour BehaviourNamed(const std::string& name) {
  if (name == "normal") return Page::Behaviour::Normal;
  if (name == "stall") return Page::Behaviour::Stall;
  if (name == "oversized") return Page::Behaviour::Oversized;
  if (name == "close") return Page::Behaviour::Close;
  throw std::invalid_argument("unknown behaviour " + name);
}

Page ParseEntry(const std::vector<std::string>& words, const std::filesystem::path& folder) {
  if (words.size() < 2) throw std::invalid_argument("need an address and a file");
  std::string encoding = "gbk";
  Page page;
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::size_t equals = words[i].find('=');
    if (equals == std::string::npos) throw std::invalid_argument("expected key=value: " + words[i]);
    const std::string key = words[i].substr(0, equals);
    const std::string value = words[i].substr(equals + 1);
    if (key == "enc") {
      if (value != "gbk" && value != "utf-8" && value != "raw")
        throw std::invalid_argument("unknown enc " + value);
      encoding = value;
    } else if (key == "type") {
      page.contentType = value;
    } else if (key == "status") {
      page.status = std::stoi(value);
    } else if (key == "delay") {
      page.delay = std::chrono::milliseconds(std::stol(value));
    } else if (key == "behaviour") {
      page.behaviour = BehaviourNamed(value);
    } else {
      throw std::invalid_argument("unknown key " + key);
    }
  }
  const std::string& file = words[1];
  if (file.starts_with('@')) {
    auto generated = GeneratedPage(file);
    if (!generated) throw std::invalid_argument("no generated page " + file);
    generated->status = page.status;
    generated->delay = page.delay;
    generated->behaviour = page.behaviour;
    return *generated;
  }
  if (file != "-") {
    page.body = ReadFile(folder / file);
    if (encoding == "gbk") page.body = ToGbk(page.body);
  }
  return page;
}

}  // namespace

std::map<std::string, Page> ParseManifest(std::string_view manifest,
                                          const std::filesystem::path& folder) {
  std::map<std::string, Page> pages;
  std::istringstream in{std::string(manifest)};
  int lineNumber = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words.front().starts_with('#')) continue;
    try {
      pages[words.front()] = ParseEntry(words, folder);
    } catch (const std::exception& error) {
      throw std::runtime_error("manifest line " + std::to_string(lineNumber) + ": " + error.what());
    }
  }
  return pages;
}

std::map<std::string, Page> LoadFixtureSet(const std::filesystem::path& root) {
  return ParseManifest(ReadFile(root / "manifest.txt"), root);
}

}  // namespace langxing::testportal
