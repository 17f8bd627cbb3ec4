// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.hpp"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/reader_settings_store.hpp"
#include "app/user_home.hpp"

namespace {

// Nothing of a run reaches the disk, on a GL display too: Qt keeps its compiled shaders in
// memory, and so does Mesa (it would otherwise fill ~/.cache/mesa_shader_cache, also from
// the web engine's GPU process, which inherits the environment). Both must be said before the
// application object exists.
void KeepShaderCachesInMemory() {
  QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
}

}  // namespace

void PrepareProcess() {
  KeepShaderCachesInMemory();
  // QtWebEngine shares OpenGL contexts with the widgets; it must be said before the application.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The article view serves written pages through its own URL scheme, which must be known
  // before the application object exists.
  ArticleView::RegisterSchemes();
}

void InstallQtTranslations(QCoreApplication& app) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* catalog : {"qt", "qtwebengine"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), QString::fromLatin1(catalog), QStringLiteral("_"), folder))
      QCoreApplication::installTranslator(translator);
    else
      delete translator;
  }
}

int RunProgram(int argc, char** argv,
               const std::function<void(QApplication&, Form1&)>& beforeLoad) {
  PrepareProcess();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("langxing"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.langxing.langxing"));
  InstallQtTranslations(app);

  // The icons are compiled into each program (app/langxing.qrc).
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/langxing-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);

  // Made before HOME moves; the path is read from the environment now.
  ReaderSettingsStore settings;
  Form1 window;
  window.SetSettingsStore(&settings);
  if (beforeLoad) beforeLoad(app, window);
  window.Form_Load();
  // Once the load handler has looked for the channel file in the user's folders, and before
  // any page can be fetched over https.
  KeepCertificateStoreOutOfHome();
  window.show();
  return app.exec();
}
