// SPDX-License-Identifier: GPL-3.0-or-later
// The settings pane of the left tab strip (Frame3): whether articles show images and video, the
// article and list font sizes (HScroll1, HScroll2 with their captions Label1, Label2), and the
// background colour swatches Picture3..Picture10 in their frame Frame4.
#pragma once

#include <QGroupBox>
#include <string_view>
#include <vector>

class PictureBox;
class QCheckBox;
class QLabel;
class QScrollBar;

class SettingsPane final : public QGroupBox {
  Q_OBJECT

 public:
  // Made hidden; the tab strip shows it.
  explicit SettingsPane(QWidget* parent);

  Qt::CheckState ImagesState() const;  // Check1
  Qt::CheckState VideoState() const;   // Check2
  int ArticleFontSize() const;         // HScroll1
  int ListFontSize() const;            // HScroll2
  // Put kept values into the controls without raising the change signals (start-up).
  void SetImagesAndVideo(bool images, bool video);
  void SetFontSizes(int article, int list);

  // A colour swatch by its name ("Picture3" .. "Picture10"), or nullptr.
  PictureBox* SwatchByName(std::string_view name) const;
  // The bottom edge of the colour frame, the pane's lowest control, in the pane's coordinates.
  int SwatchFrameBottom() const;
  // The pane and its controls in the order Tab steps through them.
  std::vector<QWidget*> FocusOrder();
  // Places the captions and swatches again for the style and fonts the window has settled on
  // (they are measured from where the style draws text).
  void PlaceForCurrentStyle();

 signals:
  void ArticleFontSizeChanged();
  void ListFontSizeChanged();
  // Check1 or Check2 was ticked or cleared.
  void OptionsChanged();

 private:
  void PlaceCaptions();
  void PlaceSwatchesInFrame();
  void CreateSwatches();

  QCheckBox* Check1;
  QCheckBox* Check2;
  QLabel* Label1;
  QScrollBar* HScroll1;
  QLabel* Label2;
  QScrollBar* HScroll2;
  QGroupBox* Frame4;
  PictureBox* Picture3;
  PictureBox* Picture4;
  PictureBox* Picture5;
  PictureBox* Picture6;
  PictureBox* Picture7;
  PictureBox* Picture8;
  PictureBox* Picture9;
  PictureBox* Picture10;
};
