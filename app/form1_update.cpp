// SPDX-License-Identifier: GPL-3.0-or-later
// The update notice: three seconds after start-up the announcement page is loaded into the
// hidden view WebBrowser3; a different announced version is reported, the download page is
// opened on request, and the program ends.
#include <QCoreApplication>
#include <QTimer>

#include "app/form1.hpp"
#include "app/ui_poster.hpp"
#include "core/portal.hpp"
#include "core/status_texts.hpp"
#include "update/announcement.hpp"

void Form1::CreateUpdateView() {
  // The announcement is read as the body's visible text only.
  WebBrowser3 = std::make_unique<langxing::PageLoader>(
      MakeUiPoster(this), langxing::NetworkLimits{}, langxing::BodyParts::kInnerText);
  WebBrowser3->DocumentComplete = [this] { WebBrowser3_DocumentComplete(); };
  connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

void Form1::SetAddressOpener(AddressOpener* opener) { opener_ = opener; }

AddressOpener& Form1::Opener() {
  if (opener_ != nullptr) return *opener_;
  if (!ownOpener_) ownOpener_ = std::make_unique<DesktopAddressOpener>();
  return *ownOpener_;
}

void Form1::SetProgramEnder(std::function<void()> ender) { programEnder_ = std::move(ender); }

void Form1::Timer1_Timer() {
  if (ending_) return;
  Timer1->stop();
  // A build without the check (its updates come from the distribution) never reads the page.
  if (!langxing::UpdateCheckEnabled) {
    UpdateCheckPending = false;
    return;
  }
  SetPanelText(StatusPanel, langxing::StatusCheckingVersion);
  WebBrowser3->Navigate(std::u16string(langxing::UpdatePageUrl));
}

void Form1::WebBrowser3_DocumentComplete() {
  if (ending_) return;
  // No block: not the announcement (an error page, "about:blank", a page without it).
  const std::optional<langxing::UpdateAnnouncement> announcement =
      langxing::ParseAnnouncement(WebBrowser3->BodyInnerText());
  if (!announcement) return;
  if (!UpdateCheckPending) return;

  SetPanelText(NotePanel, announcement->message);

  if (langxing::VerdictOf(*announcement) == langxing::UpdateVerdict::UpToDate) {
    SetPanelText(TitlePanel, langxing::UpToDateNotice);
    SetPanelText(StatusPanel, langxing::StatusIdle);
    WebBrowser3->Navigate2(u"about:blank");
    UpdateCheckPending = false;
    return;
  }

  // Cleared before the box, so a completion while it is open cannot start a second verdict.
  UpdateCheckPending = false;
  WebBrowser3->Navigate2(u"about:blank");
  const int button =
      MessageBox().Show(std::u16string(langxing::OutdatedMessage), langxing::MessageBoxOkCancel);
  // The address is handed to the desktop's browser as one URL, never to a shell, and only when
  // it is a plain http(s) address: an announcement must not be able to run commands here.
  if (button == langxing::MessageBoxResultOk &&
      langxing::IsOpenableDownloadAddress(announcement->downloadUrl))
    Opener().Open(announcement->downloadUrl);
  EndProgramAtOnce();
}

void Form1::EndProgramAtOnce() {
  if (ending_) return;
  ending_ = true;
  Timer1->stop();
  Timer2->stop();
  if (programEnder_) {
    programEnder_();
    return;
  }
  // Leaves the event loop at once: main() returns exec()'s status, 0, and the window goes.
  QCoreApplication::exit(0);
}
