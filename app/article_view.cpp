// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/article_view.hpp"

#include <QAuthenticator>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <csignal>
#include <functional>

#include "app/address_opener.hpp"
#include "app/certificate_trust.hpp"
#include "app/hang_watch.hpp"
#include "app/resource_policy.hpp"
#include "app/written_page.hpp"
#include "reader/render_article.hpp"

namespace {

// The question the engine puts when a page asks to stay (a "beforeunload" handler), in
// whatever translation the engine itself uses.
QString LeavePageQuestion() {
  return QCoreApplication::translate(
      "QWebEnginePage",
      "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

// A page that, while silent, answers every script dialog and file picker itself. Requests
// the view has no way to put to the user (certificates beyond the user's bundle, logins,
// permissions, full screen, protocol handlers, file system access, client certificates) are always
// refused.
class SilentPage final : public QWebEnginePage {
 public:
  explicit SilentPage(QWebEngineProfile* profile, QObject* parent)
      : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::certificateError, this, &AnswerCertificateError);
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
  // Answers whether a navigation may go ahead; unset lets every one go.
  std::function<bool(const QUrl&, NavigationType, bool)> acceptNavigation;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
    if (acceptNavigation && !acceptNavigation(url, type, isMainFrame)) return false;
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

// The family the window's Chinese text is drawn in, which has Latin letters and digits of its
// own, so an article reads in one typeface. Empty when no Chinese font is installed.
QString ChineseFontFamily() {
  for (const char* family : {"Noto Sans CJK SC", "Noto Sans CJK TC", "Source Han Sans SC",
                             "WenQuanYi Micro Hei", "WenQuanYi Zen Hei"}) {
    if (QFontDatabase::hasFamily(QString::fromLatin1(family))) return QString::fromLatin1(family);
  }
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  return chinese.isEmpty() ? QString() : chinese.first();
}

// What the view lets pages do: show text and pictures, follow links. Everything that runs,
// stores or plays by itself is off.
void LockDown(QWebEngineSettings* settings) {
  using S = QWebEngineSettings;
  for (const S::WebAttribute off :
       {S::JavascriptEnabled, S::JavascriptCanOpenWindows, S::JavascriptCanAccessClipboard,
        S::WebGLEnabled, S::Accelerated2dCanvasEnabled, S::PdfViewerEnabled, S::PluginsEnabled,
        S::LocalStorageEnabled, S::LocalContentCanAccessFileUrls,
        S::LocalContentCanAccessRemoteUrls, S::HyperlinkAuditingEnabled, S::AutoLoadIconsForPage,
        S::TouchIconsEnabled, S::NavigateOnDropEnabled, S::ScreenCaptureEnabled,
        S::AllowRunningInsecureContent, S::DnsPrefetchEnabled})
    settings->setAttribute(off, false);
  settings->setAttribute(S::PlaybackRequiresUserGesture, true);
  settings->setUnknownUrlSchemePolicy(S::DisallowUnknownUrlSchemes);
  const QString family = ChineseFontFamily();
  if (!family.isEmpty()) {
    for (const S::FontFamily which : {S::StandardFont, S::SansSerifFont, S::SerifFont})
      settings->setFontFamily(which, family);
  }
}

// Stops what a page's own style attributes start despite the written page's still style (they
// rank above any style sheet): the costly properties are taken out of every style attribute as
// the parser adds it, each animation or transition that still begins is cancelled, and SVG
// animations are paused once the page is parsed. It runs in the program's own script
// world, as pages run no scripts of their own.
QWebEngineScript StillScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("langxing-still"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(true);
  script.setSourceCode(QStringLiteral(R"((function () {
  function still(event) {
    var target = event.target;
    if (target && target.getAnimations)
      target.getAnimations({subtree: true}).forEach(function (a) { a.cancel(); });
  }
  ['animationstart', 'animationiteration', 'transitionrun', 'transitionstart']
      .forEach(function (type) { window.addEventListener(type, still, true); });
  var costly = ['animation', 'transition', 'filter', 'backdrop-filter', 'box-shadow',
                'text-shadow', 'will-change', 'mix-blend-mode'];
  // Most elements carry no style attribute; asking for their style object would make one.
  function plain(element) {
    if (!element.hasAttribute('style')) return;
    var style = element.style;
    if (!style) return;
    costly.forEach(function (property) {
      if (style.getPropertyValue(property) !== '') style.removeProperty(property);
    });
  }
  // As the parser adds elements, before they are first drawn.
  new MutationObserver(function (records) {
    records.forEach(function (record) {
      if (record.type === 'attributes') plain(record.target);
      record.addedNodes.forEach(function (node) {
        if (node.nodeType !== 1) return;
        plain(node);
        // The parser reports each element it adds; a node that came with children of its own
        // (moved by the parser, or adopted) has them looked at here.
        if (node.firstElementChild) node.querySelectorAll('[style]').forEach(plain);
      });
    });
  }).observe(document, {childList: true, subtree: true, attributes: true,
                        attributeFilter: ['style']});
  document.addEventListener('DOMContentLoaded', function () {
    document.getAnimations().forEach(function (a) { a.cancel(); });
    document.querySelectorAll('svg').forEach(function (svg) { svg.pauseAnimations(); });
  });
})();)"));
  return script;
}

}  // namespace

void ArticleView::RegisterSchemes() { RegisterWrittenPageScheme(); }

ArticleView::ArticleView(QWidget* parent)
    : QWebEngineView(parent),
      profile_(new QWebEngineProfile(this)),  // no storage name: off the record
      resources_(new ResourcePolicy(this)),
      desktopOpener_(std::make_unique<DesktopAddressOpener>()),
      opener_(desktopOpener_.get()) {
  // Nothing of a session reaches the disk: cache and cookies live in memory only, and
  // downloads are never accepted (an unanswered download request is cancelled).
  profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  LockDown(profile_->settings());
  profile_->setUrlRequestInterceptor(resources_);
  profile_->scripts()->insert(StillScript());
  if (WrittenPageSchemeRegistered()) {
    writtenPages_ = new WrittenPageHandler(profile_);
    profile_->installUrlSchemeHandler(WrittenPageScheme, writtenPages_);
  }

  hangWatch_ = new HangWatch(
      {.writeShown = [this] { return writeShown_; },
       .writePending = [this] { return writePending_; },
       .ask =
           [this](const QString& script, std::function<void(const QVariant&)> answer) {
             page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, std::move(answer));
           },
       .holdsLatestWrite =
           [this](const QUrl& shown) {
             return writtenPages_ != nullptr ? writtenPages_->IsLatest(shown)
                                             : !shown.isEmpty() && shown == QUrl(writtenBase_);
           },
       .endRenderer =
           [this] {
             // No renderer yet: the first page is still on its way, nothing hangs.
             const qint64 pid = page()->renderProcessPid();
             // Reported as renderProcessTerminated.
             if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGKILL);
           }},
      this);

  InstallPage();
  connect(this, &QWebEngineView::urlChanged, this, [this] { writePending_ = false; });
  connect(this, &QWebEngineView::titleChanged, this, &ArticleView::OnTitleChanged);
  connect(this, &QWebEngineView::loadFinished, this, &ArticleView::OnLoadFinished);
}

// Gives the view a new page on the profile, wired to the view; the page it had goes. Called
// at construction and whenever the renderer behind the page is gone.
void ArticleView::InstallPage() {
  QWebEnginePage* old = ownPage_;  // not page(): that would make a default page first
  for (const QMetaObject::Connection& connection : pageConnections_) disconnect(connection);
  auto* fresh = new SilentPage(profile_, this);
  if (auto* oldSilent = dynamic_cast<SilentPage*>(old)) fresh->silent = oldSilent->silent;

  // A link that asks for a new window (target=_blank, such as the reader page's source line)
  // goes to the desktop's browser, fully encoded as the page wrote it ("%20" stays "%20": a
  // decoded blank would make it no address at all); the request is left unanswered, so no
  // window opens here.
  pageConnections_.clear();
  pageConnections_.push_back(connect(fresh, &QWebEnginePage::newWindowRequested, this,
                                     [this](QWebEngineNewWindowRequest& request) {
                                       const QUrl url = request.requestedUrl();
                                       if (url.isValid() && !url.isEmpty())
                                         opener_->Open(
                                             url.toString(QUrl::FullyEncoded).toStdU16String());
                                     }));
  fresh->acceptNavigation = [this](const QUrl& url, QWebEnginePage::NavigationType type,
                                   bool isMainFrame) {
    return AcceptNavigation(url, type, isMainFrame);
  };
  // Reported by the page itself; the page is replaced once the signal has returned.
  pageConnections_.push_back(connect(fresh, &QWebEnginePage::renderProcessTerminated, this, [this] {
    QTimer::singleShot(0, this, &ArticleView::OnRendererGone);
  }));
  setPage(fresh);
  ownPage_ = fresh;
  delete old;
}

ArticleView::~ArticleView() {
  // Deleting the page still raises signals (an empty title, for one); the owner of the
  // callbacks may already be going away, so nothing is passed on from here.
  TitleChange = nullptr;
  DocumentComplete = nullptr;
  hangWatch_->Stop();
  disconnect(this, nullptr, this, nullptr);
  for (const QMetaObject::Connection& connection : pageConnections_) disconnect(connection);
  // The page must go before the profile it was made with.
  delete page();
}

void ArticleView::SetAddressOpener(AddressOpener* opener) {
  opener_ = opener ? opener : desktopOpener_.get();
}

void ArticleView::SetLoadImages(bool load) {
  profile_->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, load);
  resources_->SetPictures(load);
}

void ArticleView::SetLoadVideo(bool load) { resources_->SetVideo(load); }

void ArticleView::Navigate(const std::u16string& url) {
  writePending_ = false;
  writeShown_ = true;  // nothing written waits to be shown
  hangWatch_->StopWriteWatch();
  ownNavigation_ = true;
  load(QUrl(QString::fromStdU16String(url)));
}

void ArticleView::Refresh2() { reload(); }

void ArticleView::SetSilent(bool silent) {
  if (auto* p = dynamic_cast<SilentPage*>(page())) p->silent = silent;
}

void ArticleView::WriteDocument(const std::u16string& html, const std::u16string& baseUrl) {
  const QString page = QString::fromStdU16String(html);
  writtenBase_ = QString::fromStdU16String(baseUrl);
  resources_->SetArticle(QUrl(writtenBase_));
  writePending_ = true;
  writeShown_ = false;
  ownNavigation_ = false;
  hangWatch_->WriteStarted();
  const QString based = WithBaseAddress(WithStillStyle(page), writtenBase_);
  if (writtenPages_) {
    load(writtenPages_->Store(based));
  } else {
    // Without the scheme the page can only go in as HTML text, which the engine limits to 2 MB.
    setHtml(based, QUrl(writtenBase_));
  }
}

void ArticleView::OnLoadFinished(bool ok) {
  writePending_ = false;
  ownNavigation_ = false;
  // A load cut short (by a renderer that went away, say) does not show the latest write.
  if (ok && (writtenPages_ == nullptr || writtenPages_->IsLatest(url()))) {
    writeShown_ = true;
    hangWatch_->Stop();
  }
  if (DocumentComplete) DocumentComplete();
}

// A written page leaves only through a link the user follows. Whatever else would take the
// view away from it by itself -- a meta refresh, a script, history, a dropped file -- is
// refused, so a page cannot re-render itself without end. The view's own loads (a write,
// Navigate, Refresh2) and pages the user navigated to are not held.
bool ArticleView::AcceptNavigation(const QUrl& url, QWebEnginePage::NavigationType type,
                                   bool isMainFrame) {
  if (!isMainFrame) return true;
  // Only the latest written page is kept; an older one would show as an empty page.
  if (writtenPages_ && url.scheme() == QLatin1String(WrittenPageScheme) &&
      !writtenPages_->IsLatest(url))
    return false;
  using Page = QWebEnginePage;
  if (type == Page::NavigationTypeTyped || type == Page::NavigationTypeReload) return true;
  if (!ShowsWrittenPage()) return true;
  if (type == Page::NavigationTypeRedirect && ownNavigation_) return true;
  if (type != Page::NavigationTypeLinkClicked) return false;
  if (url.fragment() == QString::fromStdU16String(std::u16string(langxing::ArticleRetryFragment))) {
    if (RetryRequested) RetryRequested();
    return false;
  }
  if (!FollowLink(url)) return false;
  ownNavigation_ = true;
  return true;
}

// The renderer behind the page died or was ended: a new page takes its place, and the page
// last written is loaded into it again, once per write (a page that kills every renderer it
// meets is then left, and the next write shows as usual).
void ArticleView::OnRendererGone() {
  hangWatch_->Stop();
  const bool wasWritten = !writeShown_ || ShowsWrittenPage();
  InstallPage();
  if (!wasWritten || reloadedFor_ == hangWatch_->Writes()) {
    writePending_ = false;
    writeShown_ = true;
    return;
  }
  reloadedFor_ = hangWatch_->Writes();
  if (writtenPages_ && writtenPages_->HasPage()) {
    writePending_ = true;
    load(writtenPages_->Latest());
  }
}

void ArticleView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  // No entry that leaves the reader page for nothing: history leads to written pages that are
  // gone (an empty page), and the view neither shows page sources nor saves anything.
  using Page = QWebEnginePage;
  for (const Page::WebAction action :
       {Page::Back, Page::Forward, Page::ViewSource, Page::SavePage, Page::DownloadLinkToDisk,
        Page::DownloadImageToDisk, Page::DownloadMediaToDisk})
    menu->removeAction(page()->action(action));
  menu->setAttribute(Qt::WA_DeleteOnClose, true);
  menu->popup(event->globalPos());
}

bool ArticleView::ShowsWrittenPage() const {
  if (writePending_) return true;
  if (writtenPages_) return writtenPages_->IsLatest(url());
  return !writtenBase_.isNull() && url() == QUrl(writtenBase_);
}

// In a written page, "#name" links resolve against the article's address (the <base> it is
// written with, whatever base the page names), which
// would leave the page for the portal's original. They are meant for the page itself: jump
// there in place instead.
bool ArticleView::FollowLink(const QUrl& url) {
  if (!url.hasFragment() || !ShowsWrittenPage() || writtenBase_.isEmpty()) return true;
  if (url.adjusted(QUrl::RemoveFragment) != QUrl(writtenBase_).adjusted(QUrl::RemoveFragment))
    return true;
  const QString fragment = QString::fromUtf8(
      QJsonDocument(QJsonArray{url.fragment(QUrl::FullyEncoded)}).toJson(QJsonDocument::Compact));
  // In the program's own script world: pages run no scripts of their own.
  page()->runJavaScript(QStringLiteral("location.hash = ") + fragment.mid(1, fragment.size() - 2),
                        QWebEngineScript::ApplicationWorld);
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
