// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/channel_file_places.hpp"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "catalog/channel_file.hpp"

namespace langxing {
namespace {

constexpr std::string_view kDataSubfolder = "langxing";
constexpr std::string_view kDefaultDataDirs = "/usr/local/share:/usr/share";

// The variable's value, or none when it is unset or empty (both mean "use the default").
std::optional<std::string> NonEmpty(const EnvironmentLookup& environment, std::string_view name) {
  std::optional<std::string> value = environment ? environment(name) : std::nullopt;
  if (value && value->empty()) value.reset();
  return value;
}

class FolderList {
 public:
  // Adds `folder` unless it is empty, relative or already listed.
  void Add(const std::filesystem::path& folder) {
    if (folder.empty() || folder.is_relative()) return;
    std::filesystem::path normal = folder.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path())
      normal = normal.parent_path();  // "a/"
    if (std::find(folders_.begin(), folders_.end(), normal) == folders_.end())
      folders_.push_back(normal);
  }

  std::vector<std::filesystem::path> Take() { return std::move(folders_); }

 private:
  std::vector<std::filesystem::path> folders_;
};

}  // namespace

std::vector<std::filesystem::path> ChannelFileFolders(const std::filesystem::path& workingDirectory,
                                                      const std::filesystem::path& programDirectory,
                                                      const EnvironmentLookup& environment) {
  FolderList folders;
  folders.Add(workingDirectory);
  folders.Add(programDirectory);

  if (const auto dataHome = NonEmpty(environment, "XDG_DATA_HOME")) {
    folders.Add(std::filesystem::path(*dataHome) / kDataSubfolder);
  } else if (const auto home = NonEmpty(environment, "HOME")) {
    folders.Add(std::filesystem::path(*home) / ".local/share" / kDataSubfolder);
  }

  const std::string dataDirs =
      NonEmpty(environment, "XDG_DATA_DIRS").value_or(std::string(kDefaultDataDirs));
  std::size_t begin = 0;
  while (begin <= dataDirs.size()) {
    std::size_t end = dataDirs.find(':', begin);
    if (end == std::string::npos) end = dataDirs.size();
    const std::string_view entry = std::string_view(dataDirs).substr(begin, end - begin);
    if (!entry.empty()) folders.Add(std::filesystem::path(entry) / kDataSubfolder);
    begin = end + 1;
  }
  return folders.Take();
}

std::vector<std::filesystem::path> ChannelFileFoldersOfProcess() {
  // Either folder is left out when the system cannot tell it (an empty path on error).
  std::error_code ignored;
  const std::filesystem::path workingDirectory = std::filesystem::current_path(ignored);
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ignored);
  return ChannelFileFolders(workingDirectory, program.parent_path(),
                            [](std::string_view name) -> std::optional<std::string> {
                              const char* value = std::getenv(std::string(name).c_str());
                              if (value == nullptr) return std::nullopt;
                              return std::string(value);
                            });
}

std::optional<std::filesystem::path> FindChannelFolder(
    const std::vector<std::filesystem::path>& folders) {
  for (const auto& folder : folders) {
    if (ChannelFileExists(folder)) return folder;
  }
  return std::nullopt;
}

std::string FolderListText(const std::vector<std::filesystem::path>& folders) {
  std::string text;
  for (const auto& folder : folders) {
    if (!text.empty()) text += ", ";
    text += folder.string();
  }
  return text;
}

}  // namespace langxing
