// SPDX-License-Identifier: GPL-3.0-or-later
// Pages of styles alone that would keep the engine busy without end: the written page runs no
// animation or transition, and the next article shows at once. The figures (time to the next
// article, the resident memory of the program and its engine processes) are printed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/article_view.hpp"
#include "tests/webview/served_pages.hpp"
#include "view_harness.hpp"

namespace {

// Resident memory in KiB of this process and every process below it (the engine's own).
long TreeRssKib() {
  std::map<int, std::vector<int>> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    char state;
    int parent = 0;
    rest >> state >> parent;
    children[parent].push_back(std::stoi(name));
  }
  long total = 0;
  std::vector<int> pending{static_cast<int>(::getpid())};
  while (!pending.empty()) {
    const int pid = pending.back();
    pending.pop_back();
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmRSS:", 0) == 0) total += std::stol(line.substr(6));
    for (const int child : children[pid]) pending.push_back(child);
  }
  return total;
}

// 1,500 absolutely placed boxes, each turning every 0.2 s, blurred and shadowed: no script.
QString SpinningBoxes(bool inlineImportant) {
  QString html = QStringLiteral(
      "<style>@keyframes spin{from{transform:rotate(0deg)}to{transform:rotate(360deg)}}"
      ".b{position:absolute;width:160px;height:160px;background:#c33;filter:blur(6px);"
      "box-shadow:0 0 40px 20px #33c;will-change:transform;transition:all .2s;"
      "animation:spin .2s linear infinite}</style><body><p>旋转</p>");
  for (int i = 0; i < 1500; ++i) {
    html += QStringLiteral("<div class='b' style='left:%1px;top:%2px%3'></div>")
                .arg((i * 37) % 900)
                .arg((i * 53) % 700)
                .arg(inlineImportant ? QStringLiteral(";animation:spin .2s linear infinite "
                                                      "!important;filter:blur(9px) !important")
                                     : QString());
  }
  return html + QStringLiteral("</body>");
}

TEST(ArticleViewStyles, ABusyPageOfStylesDoesNotHoldTheNextArticle) {
  LoopbackServer server;
  server.Start();
  for (const bool inlineImportant : {false, true}) {
    SCOPED_TRACE(inlineImportant ? "inline !important" : "style sheet");
    ArticleView view;
    view.resize(900, 700);
    view.show();
    view.SetSilent(true);
    const long before = TreeRssKib();
    ASSERT_TRUE(WriteAndWait(view, SpinningBoxes(inlineImportant), PageUrl(server, "/spin.html")));
    // Let it run as a reader would, reading; the memory is sampled all along.
    long peak = TreeRssKib();
    for (int i = 0; i < 30; ++i) {
      QTest::qWait(100);
      peak = std::max(peak, TreeRssKib());
    }
    // Nor is anything blurred or shadowed, not even by the page's style attributes.
    EXPECT_EQ(RunScript(view, QStringLiteral("(function(){var s=getComputedStyle("
                                             "document.querySelector('.b'));"
                                             "return s.filter + ' ' + s.boxShadow;})()"))
                  .toString()
                  .toStdString(),
              "none none");
    // No animation or transition runs, whatever the page's styles ask.
    EXPECT_EQ(RunScript(view, QStringLiteral("document.getAnimations().filter("
                                             "a => a.playState === 'running').length"))
                  .toInt(),
              0);

    QElapsedTimer clock;
    clock.start();
    view.WriteDocument(u"<body>下一篇</body>", PageUrl(server, "/next.html").toStdU16String());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          peak = std::max(peak, TreeRssKib());
          return BodyText(view) == QStringLiteral("下一篇");
        },
        kWaitMs));
    std::cout << (inlineImportant ? "inline !important" : "style sheet")
              << ": the next article showed after " << clock.elapsed() << " ms; process tree "
              << before / 1024 << " MiB before, " << peak / 1024 << " MiB at most\n";
  }
}

}  // namespace
