// SPDX-License-Identifier: GPL-3.0-or-later
// Form_Load: the whole start-up of the program, before the window is first shown.
#include <QTreeWidget>
#include <exception>
#include <iostream>
#include <optional>
#include <vector>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/missing_channel_file.hpp"
#include "app/picture_box.hpp"
#include "catalog/catalog.hpp"
#include "catalog/channel_file.hpp"
#include "catalog/channel_file_places.hpp"
#include "catalog/missing_channel_file.hpp"

namespace {

void AddChildren(QTreeWidgetItem* parent, const langxing::CatalogNode& node) {
  for (const langxing::CatalogNode& child : node.children) {
    auto* item = new QTreeWidgetItem(parent, {QString::fromStdU16String(child.text)});
    AddChildren(item, child);
  }
}

}  // namespace

void Form1::Form_Load() {
  if (loaded_) return;
  loaded_ = true;

  // The clock shows the time from the start; Timer2 reads it again every second.
  SetClock(clockSource_());
  SetPanelText(ClockPanel, langxing::ClockText(Clock()));

  UpdateCheckPending = true;
  HeadlinesRequested = false;

  // There is no skin engine on this platform: the window keeps the desktop's own look.
  Picture2->SetBorderStyle(0);
  WebBrowser2->Navigate(u"about:blank");
  WebBrowser2->SetSilent(true);

  // A window given its own folder (the tests) looks there alone.
  const std::vector<std::filesystem::path> folders =
      workingDirectory_.empty() ? langxing::ChannelFileFoldersOfProcess()
                                : std::vector<std::filesystem::path>{workingDirectory_};
  const std::optional<std::filesystem::path> dir = langxing::FindChannelFolder(folders);
  if (!dir) {
    // The message box cannot say where the file was looked for; stderr and the empty window's
    // article view do.
    std::cerr << langxing::MissingChannelFileLine("langxing", folders) << std::flush;
    WebBrowser2->WriteDocument(MissingChannelFilePage(folders), u"");
    MessageBox().Show(std::u16string(langxing::MissingChannelFileMessage),
                      langxing::MessageBoxQuestion);
    RestoreKeptSettings();
    return;
  }

  try {
    List1 = langxing::LoadChannelFile(*dir);
  } catch (const std::exception&) {
    // Reading stops silently; the catalog is built from whatever was read.
  }
  FillCatalogTree();
  RestoreKeptSettings();
}

void Form1::FillCatalogTree() {
  TreeView1->clear();
  try {
    const langxing::CatalogNode root = langxing::BuildCatalogTree(List1);
    auto* rootItem = new QTreeWidgetItem(TreeView1, {QString::fromStdU16String(root.text)});
    AddChildren(rootItem, root);
    rootItem->setExpanded(false);
  } catch (const std::exception&) {
    // An exhausted memory leaves the tree empty rather than ending the program.
    TreeView1->clear();
  }
}
