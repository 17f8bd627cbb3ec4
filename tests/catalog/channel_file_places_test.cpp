// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/channel_file_places.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace langxing {
namespace {

using Paths = std::vector<std::filesystem::path>;
using Environment = std::map<std::string, std::string, std::less<>>;

EnvironmentLookup LookupIn(Environment environment) {
  return [environment = std::move(environment)](std::string_view name) {
    const auto found = environment.find(name);
    return found == environment.end() ? std::nullopt : std::optional<std::string>(found->second);
  };
}

TEST(ChannelFileFolders, OrderDefaultsAndSkippedEntries) {
  struct Case {
    const char* name;
    Environment environment;
    Paths expected;  // after the working directory /w and the program's folder /p
  } cases[] = {
      {"both variables set",
       {{"HOME", "/h"}, {"XDG_DATA_HOME", "/x"}, {"XDG_DATA_DIRS", "/d1:/d2"}},
       {"/x/langxing", "/d1/langxing", "/d2/langxing"}},
      {"defaults",
       {{"HOME", "/h"}},
       {"/h/.local/share/langxing", "/usr/local/share/langxing", "/usr/share/langxing"}},
      {"empty means unset",
       {{"HOME", "/h"}, {"XDG_DATA_HOME", ""}, {"XDG_DATA_DIRS", ""}},
       {"/h/.local/share/langxing", "/usr/local/share/langxing", "/usr/share/langxing"}},
      {"no home at all", {{"XDG_DATA_DIRS", "/d1"}}, {"/d1/langxing"}},
      {"relative, empty and repeated entries skipped",
       {{"XDG_DATA_HOME", "rel"}, {"XDG_DATA_DIRS", "rel::/d1:/d1/"}},
       {"/d1/langxing"}},
  };
  for (const Case& c : cases) {
    Paths expected{"/w", "/p"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(ChannelFileFolders("/w", "/p", LookupIn(c.environment)), expected) << c.name;
  }
  // The program started from its own folder: that folder is looked in once.
  EXPECT_EQ(ChannelFileFolders("/w", "/w/", LookupIn({{"XDG_DATA_DIRS", "/d"}})),
            (Paths{"/w", "/d/langxing"}));
}

TEST(ChannelFileFolders, TheFirstFolderWithAPlainFileWins) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() /
      ("langxing_places_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(root);
  const Environment environment{
      {"HOME", (root / "home").string()},
      {"XDG_DATA_DIRS", (root / "d1").string() + ":" + (root / "d2").string()}};
  const Paths folders = ChannelFileFolders(root / "work", root / "prog", LookupIn(environment));
  const std::filesystem::path work = folders[0], prog = folders[1], user = folders[2],
                              d1 = folders[3], d2 = folders[4];
  ASSERT_EQ(folders.size(), 5u);
  ASSERT_EQ(user, root / "home/.local/share/langxing");

  struct Case {
    const char* name;
    Paths files;        // folders holding chan.dll as a plain file
    Paths directories;  // folders holding a directory named chan.dll
    std::optional<std::filesystem::path> expected;
  } cases[] = {
      {"working directory first", {work, prog, user, d1, d2}, {}, work},
      {"beside the program", {prog, user, d2}, {}, prog},
      {"the user's data folder", {user, d1}, {}, user},
      {"the first system data folder", {d1, d2}, {}, d1},
      {"the last system data folder", {d2}, {}, d2},
      {"a directory of that name is no file", {d2}, {work, user}, d2},
      {"nowhere", {}, {prog}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root);
    for (const auto& folder : folders) std::filesystem::create_directories(folder);
    for (const auto& folder : c.files) std::ofstream(folder / "chan.dll") << "x\n";
    for (const auto& folder : c.directories) std::filesystem::create_directory(folder / "chan.dll");
    EXPECT_EQ(FindChannelFolder(folders), c.expected) << c.name;
  }
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace langxing
