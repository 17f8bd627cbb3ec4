// SPDX-License-Identifier: GPL-3.0-or-later
// The window's event loop after an outdated notice, in a process of its own. Exits with the
// status the event loop returns; 3 when the loop was never left, 4 when no notice was shown.
#include <QApplication>
#include <QTimer>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "core/portal.hpp"
#include "core/text.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/window_controls.hpp"

namespace {

struct CancellingMessageBox final : langxing::MessageBoxService {
  int shown = 0;
  int Show(const std::u16string&, int) override {
    ++shown;
    return langxing::MessageBoxResultCancel;
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  ArticleView::RegisterSchemes();
  QApplication app(argc, argv);

  langxing::testportal::TestPortal portal;
  langxing::testportal::ScopedProxy proxy{portal};
  portal.SetPage(langxing::Utf16ToUtf8(langxing::UpdatePageUrl),
                 *portal.PageFor("http://blog.sina.com.cn/s/langxing_update_newer.html"));

  CancellingMessageBox box;
  Form1 window;
  window.SetMessageBox(&box);
  Form1Access::SetUpdateCheckPending(window, true);
  Ctl(window).Timer1->stop();
  QTimer::singleShot(0, &window, [&] { window.Timer1_Timer(); });
  QTimer::singleShot(15000, &app, [] { QCoreApplication::exit(3); });

  const int status = app.exec();
  if (status == 0 && box.shown != 1) return 4;
  return status;
}
