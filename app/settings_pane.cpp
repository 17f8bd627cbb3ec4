// SPDX-License-Identifier: GPL-3.0-or-later
// The settings pane's controls: creation, design geometry and initial values.
#include "app/settings_pane.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/font_size_bar.hpp"
#include "app/layout.hpp"
#include "app/named_widget.hpp"
#include "app/picture_box.hpp"
#include "app/swatch_widgets.hpp"

using langxing::PlaceInTwips;
using langxing::TwipsBox;
using langxing::TwipsToPixels;

namespace {

QScrollBar* MakeScrollBar(QWidget* parent, const char* name, int value, const QString& caption) {
  auto* bar = Named(new FontSizeBar(parent), name);
  bar->setRange(10, 36);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setValue(value);
  // A thumb drag is applied once, when it ends.
  bar->setTracking(false);
  bar->setAccessibleName(caption);
  return bar;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
  auto* label = Named(new QLabel(caption, parent), name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

// The design draws a caption 180 twips high at the top of its label and leaves 60 twips between
// the caption and the scroll bar under it. The window's font is taller than the design's, so
// the label is raised until its caption ends that far above the bar (and never lowered).
constexpr double DesignCaptionToBar = 60;

void PlaceCaptionAbove(QLabel* label, const TwipsBox& design, const QWidget* bar) {
  PlaceInTwips(label, design);
  // The caption's line is as high as the tallest of the fonts its characters come from (the
  // Chinese ones may come from another font than the Latin ones); its ink ends just under the
  // baseline.
  QTextLayout layout(label->text(), label->font());
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return;
  const int baseline = static_cast<int>(std::ceil(line.ascent()));
  const int inkBottom =
      baseline + label->fontMetrics().tightBoundingRect(label->text()).bottom() + 1;
  const int top = bar->y() - TwipsToPixels(DesignCaptionToBar) - inkBottom;
  if (top < label->y()) label->setGeometry(label->x(), top, label->width(), label->height());
}

// The design measures the swatches from the frame's outer edge, with the caption in its top 180
// twips, and leaves 120 twips under the second row. The style draws the caption and the frame's
// top line lower, so the swatches keep their distance from the frame's sides (whose lines lie
// on the outer edge in both) but are measured down from the frame's contents, where the caption
// ends, and the frame grows to keep the design's margin under them.
constexpr double DesignCaptionHeight = 180;
constexpr double DesignMarginBelowSwatches = 120;
constexpr double SwatchSize = 375;
constexpr TwipsBox Frame4Design{120, 2280, 2415, 1095};

void PlaceSwatches(QGroupBox* frame, const std::vector<std::pair<PictureBox*, TwipsBox>>& swatches,
                   const TwipsBox& designFrame) {
  const int contentsTop = frame->contentsRect().top();
  int bottom = 0;
  for (const auto& [box, design] : swatches) {
    const int top = contentsTop + TwipsToPixels(design.top - DesignCaptionHeight);
    box->setGeometry(TwipsToPixels(design.left), top, TwipsToPixels(design.width),
                     TwipsToPixels(design.height));
    bottom = std::max(bottom, box->geometry().bottom() + 1);
  }
  const int height = bottom + TwipsToPixels(DesignMarginBelowSwatches);
  frame->resize(frame->width(), std::max(TwipsToPixels(designFrame.height), height));
}

}  // namespace

SettingsPane::SettingsPane(QWidget* parent) : QGroupBox(QString(), parent) {
  setObjectName(QStringLiteral("Frame3"));
  setFocusPolicy(Qt::NoFocus);
  hide();

  Check1 = Named(new QCheckBox(QStringLiteral("显示图像"), this), "Check1");
  PlaceInTwips(Check1, {120, 240, 2055, 255});
  Check1->setChecked(true);
  Check2 = Named(new QCheckBox(QStringLiteral("显示视频"), this), "Check2");
  PlaceInTwips(Check2, {120, 600, 1095, 255});
  Check2->setChecked(false);

  Label1 = MakeLabel(this, "Label1", QStringLiteral("字体大小(内容区)"));
  HScroll1 = MakeScrollBar(this, "HScroll1", 14, Label1->text());
  PlaceInTwips(HScroll1, {120, 1200, 2415, 255});

  Label2 = MakeLabel(this, "Label2", QStringLiteral("字体大小(目录区)"));
  HScroll2 = MakeScrollBar(this, "HScroll2", 12, Label2->text());
  PlaceInTwips(HScroll2, {120, 1800, 2415, 255});
  PlaceCaptions();

  Frame4 = Named(new QGroupBox(QStringLiteral("背景颜色"), this), "Frame4");
  Frame4->setFocusPolicy(Qt::NoFocus);
  PlaceInTwips(Frame4, Frame4Design);
  CreateSwatches();
  PlaceSwatchesInFrame();

  connect(HScroll1, &QScrollBar::valueChanged, this,
          [this](int) { emit ArticleFontSizeChanged(); });
  connect(HScroll2, &QScrollBar::valueChanged, this, [this](int) { emit ListFontSizeChanged(); });
  for (QCheckBox* box : {Check1, Check2})
    connect(box, &QCheckBox::stateChanged, this, [this](int) { emit OptionsChanged(); });
}

void SettingsPane::CreateSwatches() {
  PictureBox** swatchMembers[] = {&Picture3, &Picture4, &Picture5, &Picture6,
                                  &Picture7, &Picture8, &Picture9, &Picture10};
  for (PictureBox** member : swatchMembers) *member = new PictureBox(Frame4);
  for (const SwatchWidget& swatch : SwatchWidgets) {
    PictureBox* box = SwatchByName(swatch.name);
    if (box == nullptr) continue;
    box->setObjectName(QString::fromLatin1(swatch.name.data(), swatch.name.size()));
    const langxing::Rgb rgb = langxing::RgbOf(swatch.swatch->colour);
    box->SetBackColor(QColor(rgb.red, rgb.green, rgb.blue));
    // Reached with Tab like the other settings; Space or Enter presses it.
    box->setFocusPolicy(Qt::StrongFocus);
    box->setAccessibleName(QString::fromUtf8(swatch.colourName));
  }
}

void SettingsPane::PlaceCaptions() {
  PlaceCaptionAbove(Label1, {120, 960, 2175, 255}, HScroll1);
  PlaceCaptionAbove(Label2, {120, 1560, 2295, 255}, HScroll2);
}

void SettingsPane::PlaceSwatchesInFrame() {
  std::vector<std::pair<PictureBox*, TwipsBox>> boxes;
  for (const SwatchWidget& swatch : SwatchWidgets)
    if (PictureBox* box = SwatchByName(swatch.name))
      boxes.push_back({box,
                       {static_cast<double>(swatch.left), static_cast<double>(swatch.top),
                        SwatchSize, SwatchSize}});
  PlaceSwatches(Frame4, boxes, Frame4Design);
}

void SettingsPane::PlaceForCurrentStyle() {
  PlaceSwatchesInFrame();
  PlaceCaptions();
}

PictureBox* SettingsPane::SwatchByName(std::string_view name) const {
  const std::pair<std::string_view, PictureBox*> swatches[] = {
      {"Picture3", Picture3}, {"Picture4", Picture4},  {"Picture5", Picture5},
      {"Picture6", Picture6}, {"Picture7", Picture7},  {"Picture8", Picture8},
      {"Picture9", Picture9}, {"Picture10", Picture10}};
  for (const auto& [swatchName, box] : swatches)
    if (swatchName == name) return box;
  return nullptr;
}

int SettingsPane::SwatchFrameBottom() const { return Frame4->geometry().bottom() + 1; }

std::vector<QWidget*> SettingsPane::FocusOrder() {
  return {this,     Check1,    Label1,   HScroll1, Label2,   HScroll2, Check2,   Frame4,
          Picture9, Picture10, Picture3, Picture4, Picture5, Picture6, Picture7, Picture8};
}

Qt::CheckState SettingsPane::ImagesState() const { return Check1->checkState(); }
Qt::CheckState SettingsPane::VideoState() const { return Check2->checkState(); }
int SettingsPane::ArticleFontSize() const { return HScroll1->value(); }
int SettingsPane::ListFontSize() const { return HScroll2->value(); }

void SettingsPane::SetImagesAndVideo(bool images, bool video) {
  const QSignalBlocker blockImages(Check1);
  const QSignalBlocker blockVideo(Check2);
  Check1->setChecked(images);
  Check2->setChecked(video);
}

void SettingsPane::SetFontSizes(int article, int list) {
  const QSignalBlocker blockArticle(HScroll1);
  const QSignalBlocker blockList(HScroll2);
  HScroll1->setValue(article);
  HScroll2->setValue(list);
}
