// SPDX-License-Identifier: GPL-3.0-or-later
// What the window keeps between runs: the article's background colour and font size, the lists'
// font size, whether articles show images and video, the window's place, size and maximised
// state, the splitter and the channel opened last. They live in one INI file,
// $XDG_CONFIG_HOME/langxing/langxing.conf (~/.config/langxing/langxing.conf); it is the only file
// the program writes. A value that is missing, of the wrong type or out of range reads as the
// design's default, so no file can crash the window or put it off screen.
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

struct KeptSettings {
  QString colour = QStringLiteral("0");  // the reader page's colour text; "0": none chosen
  int articleFontSize = 14;              // HScroll1, pixels
  int listFontSize = 12;                 // HScroll2, points
  bool showImages = true;                // Check1
  bool showVideo = false;                // Check2
  // The window's client area (not maximised) in global coordinates; none: centred at design size.
  std::optional<QRect> windowPlace;
  bool maximised = false;
  std::optional<double> splitterLeft;  // Picture2's left edge, twips; none: the design's
  QString channel;                     // the catalog path of the channel opened last

  bool operator==(const KeptSettings&) const = default;
};

class ReaderSettingsStore {
 public:
  // The file in $XDG_CONFIG_HOME/langxing/ (~/.config/langxing/ when the variable is unset).
  static QString DefaultPath();

  explicit ReaderSettingsStore(QString path = DefaultPath());

  // What the file holds, each value checked; the defaults for whatever is missing or unusable.
  // A window place is returned as written: UsableWindowPlace judges it against the screens.
  KeptSettings Load() const;
  // Writes every value; returns whether the file was written.
  bool Save(const KeptSettings& settings) const;

  const QString& Path() const { return path_; }

 private:
  QString path_;
};

// Whether `colour` is a colour text a swatch press can give (or "0", none chosen): only those go
// into the reader page's style.
bool IsSwatchColourText(const QString& colour);

// The saved client area made usable on `screens` (their available areas): at least `least` and
// at most a screen's size, its top (where the title bar is grabbed) on a screen. A size that is out
// of range gives none; a place off every screen keeps the size and drops the place (the window is
// then centred).
struct UsablePlace {
  QSize size;
  std::optional<QPoint> topLeft;
};
std::optional<UsablePlace> UsableWindowPlace(const QRect& saved, const QList<QRect>& screens,
                                             const QSize& least);
