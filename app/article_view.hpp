// The visible article view WebBrowser2: a QWebEngineView on an off-the-record profile that
// shows no dialogs of its own, behind the browser-view interface.
#pragma once

#include <QWebEngineView>

#include "core/browser_view.hpp"

class QWebEngineProfile;

class ArticleView final : public QWebEngineView, public langxing::BrowserView {
  Q_OBJECT

 public:
  explicit ArticleView(QWidget* parent = nullptr);
  ~ArticleView() override;

  void Navigate(const std::u16string& url) override;
  void Refresh2() override;
  void SetSilent(bool silent) override;
  void WriteDocument(const std::u16string& html, const std::u16string& baseUrl) override;
  std::u16string LocationURL() const override;

 private:
  QWebEngineProfile* profile_;
};
