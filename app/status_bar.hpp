// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar: four panels side by side, each a sunken plain-text label of its own width.
#pragma once

#include <QWidget>
#include <array>

class QLabel;

class StatusBar final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int PanelCount = 4;

  explicit StatusBar(QWidget* parent = nullptr);

  // Panels are numbered from 1; other numbers are ignored. The text shows at once.
  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;
  // Widths in pixels, panel 1 first; panels past the bar's right edge are cut off.
  void SetPanelWidths(const std::array<int, PanelCount>& widths);
  QLabel* Panel(int panel) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlacePanels();

  std::array<QLabel*, PanelCount> panels_{};
  std::array<int, PanelCount> widths_{};
};
