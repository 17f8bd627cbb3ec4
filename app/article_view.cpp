#include "app/article_view.hpp"

#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {

// A page that answers every script dialog itself and refuses bad certificates silently.
class SilentPage final : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;
  bool silent = false;

 protected:
  void javaScriptAlert(const QUrl& origin, const QString& msg) override {
    if (!silent) QWebEnginePage::javaScriptAlert(origin, msg);
  }
  bool javaScriptConfirm(const QUrl& origin, const QString& msg) override {
    return silent ? false : QWebEnginePage::javaScriptConfirm(origin, msg);
  }
  bool javaScriptPrompt(const QUrl& origin, const QString& msg, const QString& def,
                        QString* result) override {
    return silent ? false : QWebEnginePage::javaScriptPrompt(origin, msg, def, result);
  }
};

}  // namespace

ArticleView::ArticleView(QWidget* parent)
    : QWebEngineView(parent), profile_(new QWebEngineProfile(this)) {  // no name: off the record
  profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  setPage(new SilentPage(profile_, this));
  connect(this, &QWebEngineView::titleChanged, this, [this](const QString& title) {
    if (TitleChange) TitleChange(title.toStdU16String());
  });
  connect(this, &QWebEngineView::loadFinished, this, [this](bool) {
    if (DocumentComplete) DocumentComplete();
  });
}

ArticleView::~ArticleView() {
  // The page must go before the profile it was made with.
  delete page();
}

void ArticleView::Navigate(const std::u16string& url) {
  load(QUrl(QString::fromStdU16String(url)));
}

void ArticleView::Refresh2() { reload(); }

void ArticleView::SetSilent(bool silent) {
  if (auto* p = dynamic_cast<SilentPage*>(page())) p->silent = silent;
}

void ArticleView::WriteDocument(const std::u16string& html, const std::u16string& baseUrl) {
  setHtml(QString::fromStdU16String(html), QUrl(QString::fromStdU16String(baseUrl)));
}

std::u16string ArticleView::LocationURL() const { return url().toString().toStdU16String(); }
