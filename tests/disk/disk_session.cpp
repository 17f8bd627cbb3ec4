// SPDX-License-Identifier: GPL-3.0-or-later
// The program with a short session played in it: it starts through the program's own start-up
// (RunProgram), then opens the first
// channel of the catalog, opens the first headline of its list, waits for the update check,
// and leaves the event loop. Its exit status says how far it got:
//   0  every step done           11  the headline list never filled
//   12 the article never showed  13  the update check never finished   20  out of time
#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <cstdio>
#include <functional>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/program.hpp"
#include "core/portal.hpp"
#include "tests/support/window_controls.hpp"
#include "update/announcement.hpp"

namespace {

constexpr int kPollMs = 50;
constexpr int kStepMs = 30000;

void Say(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

// Polls `done` until it holds, then runs `next`; leaves the event loop with `failure` when it
// has not held within kStepMs.
void WhenReady(std::function<bool()> done, std::function<void()> next, int failure,
               int waited = 0) {
  if (done()) {
    next();
    return;
  }
  if (waited >= kStepMs) {
    QCoreApplication::exit(failure);
    return;
  }
  QTimer::singleShot(kPollMs, qApp,
                     [done = std::move(done), next = std::move(next), failure, waited] {
                       WhenReady(done, next, failure, waited + kPollMs);
                     });
}

QTreeWidgetItem* FirstChannel(QTreeWidget* tree) {
  QTreeWidgetItem* root = tree->topLevelItem(0);
  for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
    if (root->child(i)->childCount() > 0) {
      root->setExpanded(true);
      root->child(i)->setExpanded(true);
      return root->child(i)->child(0);
    }
  }
  return nullptr;
}

void PlaySession(Form1& window) {
  QTreeWidgetItem* channel = FirstChannel(Ctl(window).TreeView1);
  if (channel == nullptr) {
    QCoreApplication::exit(11);
    return;
  }
  window.SelectTab(u"新闻目录");
  Ctl(window).TreeView1->setCurrentItem(channel);
  window.TreeView1_NodeClick();

  WhenReady(
      [&window] {
        return Ctl(window).List2->count() > 1 &&
               window.PanelText(Form1::StatusPanel) == u"状态：空闲";
      },
      [&window] {
        Say("headline list filled");
        auto articleText = std::make_shared<QString>();
        window.List2_Click(Ctl(window).List2->item(0));
        // The view's text is read afresh at every poll: the article counts as shown once the
        // page in the view holds its source line, however its loads were signalled.
        WhenReady(
            [&window, articleText] {
              Ctl(window).WebBrowser2->page()->toPlainText(
                  [articleText](const QString& text) { *articleText = text; });
              return articleText->contains(QStringLiteral("文章来源于新浪网"));
            },
            [&window] {
              Say("article shown");
              if (!langxing::UpdateCheckEnabled) {
                QCoreApplication::exit(0);
                return;
              }
              WhenReady(
                  [&window] {
                    return window.PanelText(Form1::TitlePanel) == langxing::UpToDateNotice;
                  },
                  [] {
                    Say("update check done");
                    QCoreApplication::exit(0);
                  },
                  13);
            },
            12);
      },
      11);
}

}  // namespace

int main(int argc, char** argv) {
  return RunProgram(argc, argv, [](QApplication& app, Form1& window) {
    // The session, once the event loop runs.
    QTimer::singleShot(0, &window, [&window] { PlaySession(window); });
    QTimer::singleShot(90000, &app, [] { QCoreApplication::exit(20); });
  });
}
