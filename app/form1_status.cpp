// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's one write operation and the running clock of its third panel.
#include <QTimer>

#include "app/form1.hpp"
#include "app/status_bar.hpp"

void Form1::SetPanelText(int panel, std::u16string_view text) {
  if (panel < 1 || panel > StatusBar::PanelCount) return;
  const std::u16string copy(text);
  StatusBar1->SetPanelText(panel, QString::fromStdU16String(copy));
  if (panelTextWatcher_) panelTextWatcher_(panel, copy);
}

void Form1::SetPanelTextWatcher(std::function<void(int, const std::u16string&)> watcher) {
  panelTextWatcher_ = std::move(watcher);
}

std::u16string Form1::PanelText(int panel) const {
  return StatusBar1->PanelText(panel).toStdU16String();
}

langxing::ClockTime Form1::Clock() const { return clock_; }

void Form1::SetClock(const langxing::ClockTime& time) { clock_ = time; }

void Form1::SetClockSource(std::function<langxing::ClockTime()> source) {
  clockSource_ = source ? std::move(source) : langxing::ClockTimeNow;
}

// Each tick reads the time afresh: a count of ticks falls behind whenever a tick comes late or
// not at all (a suspended machine, a busy desktop) and would never catch up.
void Form1::Timer2_Timer() {
  SetClock(clockSource_());
  SetPanelText(ClockPanel, langxing::ClockText(Clock()));
}
