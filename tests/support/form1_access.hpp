// SPDX-License-Identifier: GPL-3.0-or-later
// What tests need of Form1 beyond its controls and handlers: its hidden page views (to watch,
// park or limit their loads) and the few values no control shows. Form1 names this struct its
// friend; nothing but tests uses it.
#pragma once

#include <string>

#include "app/form1.hpp"
#include "core/page_loader.hpp"

struct Form1Access {
  // The hidden view headline pages load in (WebBrowser1), and the announcement's (WebBrowser3).
  static langxing::PageLoader& HeadlineView(Form1& form) { return *form.WebBrowser1; }
  static langxing::PageLoader& UpdateView(Form1& form) { return *form.WebBrowser3; }
  // Makes the headline view afresh, as the window does, with these network limits.
  static void LimitHeadlineView(Form1& form, const langxing::NetworkLimits& limits) {
    form.CreateHeadlineView(limits);
  }

  static void SetArticleUrl(Form1& form, std::u16string url) { form.ArticleUrl = std::move(url); }
  static void SetTitleStartMarker(Form1& form, std::u16string marker) {
    form.Text2 = std::move(marker);
  }
  static void SetUpdateCheckPending(Form1& form, bool pending) {
    form.UpdateCheckPending = pending;
  }
  static bool UpdateCheckPending(const Form1& form) { return form.UpdateCheckPending; }
  static bool HeadlinesRequested(const Form1& form) { return form.HeadlinesRequested; }
  static const std::u16string& SavedSwatchColour(const Form1& form) {
    return form.SavedSwatchColour;
  }
};
