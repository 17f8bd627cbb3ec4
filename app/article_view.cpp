// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/article_view.hpp"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <functional>

#include "app/address_opener.hpp"
#include "app/written_page.hpp"

namespace {

// The question the engine puts when a page asks to stay (a "beforeunload" handler), in
// whatever translation the engine itself uses.
QString LeavePageQuestion() {
  return QCoreApplication::translate(
      "QWebEnginePage",
      "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

// A page that, while silent, answers every script dialog and file picker itself. Requests
// the view has no way to put to the user (certificates, logins, permissions, full screen,
// protocol handlers, file system access, client certificates) are always refused.
class SilentPage final : public QWebEnginePage {
 public:
  explicit SilentPage(QWebEngineProfile* profile, QObject* parent)
      : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::certificateError, this, [](const QWebEngineCertificateError& e) {
      QWebEngineCertificateError error = e;
      error.rejectCertificate();
    });
    const auto refuseLogin = [](const QUrl&, QAuthenticator* authenticator) {
      *authenticator = QAuthenticator();  // an empty authenticator cancels the request
    };
    connect(this, &QWebEnginePage::authenticationRequired, this, refuseLogin);
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [refuseLogin](const QUrl& url, QAuthenticator* authenticator, const QString&) {
              refuseLogin(url, authenticator);
            });
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, QWebEnginePage::Feature feature) {
              setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::selectClientCertificate, this,
            [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
  }

  bool silent = false;
  // Answers whether a main-frame link should be followed; unset follows all.
  std::function<bool(const QUrl&)> followLink;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
    if (isMainFrame && type == NavigationTypeLinkClicked && followLink && !followLink(url))
      return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
  }
  void javaScriptAlert(const QUrl& origin, const QString& msg) override {
    if (!silent) QWebEnginePage::javaScriptAlert(origin, msg);
  }
  // The engine asks whether to leave a page that objects to being left through this same
  // confirmation, with its own text. A silent view always leaves: the next write must show,
  // whatever the page shown wants. Any other confirmation a script asks for is declined.
  bool javaScriptConfirm(const QUrl& origin, const QString& msg) override {
    if (!silent) return QWebEnginePage::javaScriptConfirm(origin, msg);
    return msg == LeavePageQuestion();
  }
  bool javaScriptPrompt(const QUrl& origin, const QString& msg, const QString& def,
                        QString* result) override {
    return silent ? false : QWebEnginePage::javaScriptPrompt(origin, msg, def, result);
  }
  QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                          const QStringList& acceptedMimeTypes) override {
    if (silent) return {};
    return QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
  }
};

}  // namespace

void ArticleView::RegisterSchemes() { RegisterWrittenPageScheme(); }

ArticleView::ArticleView(QWidget* parent)
    : QWebEngineView(parent),
      profile_(new QWebEngineProfile(this)),  // no storage name: off the record
      desktopOpener_(std::make_unique<DesktopAddressOpener>()),
      opener_(desktopOpener_.get()) {
  // Nothing of a session reaches the disk: cache and cookies live in memory only, and
  // downloads are never accepted (an unanswered download request is cancelled).
  profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  // Scripts may open windows only on a user's click, not on their own.
  profile_->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  if (WrittenPageSchemeRegistered()) {
    writtenPages_ = new WrittenPageHandler(profile_);
    profile_->installUrlSchemeHandler(WrittenPageScheme, writtenPages_);
  }

  auto* page = new SilentPage(profile_, this);
  setPage(page);

  // A link that asks for a new window (target=_blank, such as the reader page's source line)
  // goes to the desktop's browser; the request is left unanswered, so no window opens here.
  connect(page, &QWebEnginePage::newWindowRequested, this,
          [this](QWebEngineNewWindowRequest& request) {
            const QUrl url = request.requestedUrl();
            if (url.isValid() && !url.isEmpty()) opener_->Open(url.toString().toStdU16String());
          });
  page->followLink = [this](const QUrl& url) { return FollowLink(url); };
  connect(this, &QWebEngineView::urlChanged, this, [this] { writePending_ = false; });
  connect(this, &QWebEngineView::titleChanged, this, &ArticleView::OnTitleChanged);
  connect(this, &QWebEngineView::loadFinished, this, [this](bool) {
    writePending_ = false;
    if (DocumentComplete) DocumentComplete();
  });
}

ArticleView::~ArticleView() {
  // Deleting the page still raises signals (an empty title, for one); the owner of the
  // callbacks may already be going away, so nothing is passed on from here.
  TitleChange = nullptr;
  DocumentComplete = nullptr;
  disconnect(this, nullptr, this, nullptr);
  // The page must go before the profile it was made with.
  delete page();
}

void ArticleView::SetAddressOpener(AddressOpener* opener) {
  opener_ = opener ? opener : desktopOpener_.get();
}

void ArticleView::Navigate(const std::u16string& url) {
  writePending_ = false;
  load(QUrl(QString::fromStdU16String(url)));
}

void ArticleView::Refresh2() { reload(); }

void ArticleView::SetSilent(bool silent) {
  if (auto* p = dynamic_cast<SilentPage*>(page())) p->silent = silent;
}

void ArticleView::WriteDocument(const std::u16string& html, const std::u16string& baseUrl) {
  const QString page = QString::fromStdU16String(html);
  writtenBase_ = QString::fromStdU16String(baseUrl);
  writePending_ = true;
  if (writtenPages_) {
    load(writtenPages_->Store(WithBaseAddress(page, writtenBase_)));
  } else {
    // Without the scheme the page can only go in as HTML text, which the engine limits to 2 MB.
    setHtml(page, QUrl(writtenBase_));
  }
}

bool ArticleView::ShowsWrittenPage() const {
  if (writePending_) return true;
  if (writtenPages_) return writtenPages_->IsLatest(url());
  return !writtenBase_.isNull() && url() == QUrl(writtenBase_);
}

// In a written page, "#name" links resolve against the article's address (its <base>), which
// would leave the page for the portal's original. They are meant for the page itself: jump
// there in place instead.
bool ArticleView::FollowLink(const QUrl& url) {
  if (!url.hasFragment() || !ShowsWrittenPage() || writtenBase_.isEmpty()) return true;
  if (url.adjusted(QUrl::RemoveFragment) != QUrl(writtenBase_).adjusted(QUrl::RemoveFragment))
    return true;
  const QString fragment = QString::fromUtf8(
      QJsonDocument(QJsonArray{url.fragment(QUrl::FullyEncoded)}).toJson(QJsonDocument::Compact));
  page()->runJavaScript(QStringLiteral("location.hash = ") + fragment.mid(1, fragment.size() - 2));
  return false;
}

std::u16string ArticleView::LocationURL() const {
  // A written page stands for the article it was written with.
  if (ShowsWrittenPage()) return writtenBase_.toStdU16String();
  return url().toString().toStdU16String();
}

// Titles of pages the view wrote itself are never raised. The window re-renders the article
// whenever a title containing the portal's name appears and writes the result back into this
// view; a written page with such a title would raise it again and loop forever (write, title,
// re-render, write, ...). Only titles of pages the view loaded by navigating -- a link the
// user followed, or Navigate -- reach TitleChange.
void ArticleView::OnTitleChanged(const QString& title) {
  if (ShowsWrittenPage()) return;
  if (TitleChange) TitleChange(title.toStdU16String());
}
