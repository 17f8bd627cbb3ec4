// SPDX-License-Identifier: GPL-3.0-or-later
// The operations the window uses on its three browser views. The visible article view is a
// QtWebEngine adapter in app/; the two hidden views are the headless page loader of core/.
#pragma once

#include <functional>
#include <string>

namespace langxing {

class BrowserView {
 public:
  virtual ~BrowserView() = default;

  // Starts loading and returns at once; completion is reported through the DocumentComplete
  // callback on the UI thread. A new navigation supersedes the one in flight.
  virtual void Navigate(const std::u16string& url) = 0;
  // Drops the loaded page ("about:blank" gives an empty document).
  virtual void Navigate2(const std::u16string& url) { Navigate(url); }
  // Reloads the page shown (the article view calls it right before each write).
  virtual void Refresh2() {}
  // No dialogs of the view's own (script alerts, certificate prompts).
  virtual void SetSilent(bool) {}
  // Shows exactly the given page.
  virtual void WriteDocument(const std::u16string& /*html*/, const std::u16string& /*baseUrl*/) {}
  // Address of the page shown.
  virtual std::u16string LocationURL() const = 0;
  // The body of the current document, serialised; empty for an empty or failed document.
  virtual std::u16string BodyInnerHtml() const { return {}; }
  virtual std::u16string BodyInnerText() const { return {}; }

  std::function<void()> DocumentComplete;                  // once per navigation
  std::function<void(const std::u16string&)> TitleChange;  // the new page title
};

}  // namespace langxing
