// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reader_settings_store.hpp"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <string>

#include "reader/swatches.hpp"

namespace {

// Sizes beyond this are no window anyone made (X11's coordinates end at 32767).
constexpr int LargestSide = 16384;
// The part of the window's top that must lie on a screen for its title bar to be grabbed.
constexpr int ReachableWidth = 100;
constexpr int ReachableHeight = 30;

// The value under `key` as an int in [low, high], or none.
std::optional<int> IntIn(const QSettings& file, const QString& key, int low, int high) {
  const QVariant value = file.value(key);
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int number = value.toString().toInt(&ok);
  if (!ok || number < low || number > high) return std::nullopt;
  return number;
}

std::optional<bool> BoolOf(const QSettings& file, const QString& key) {
  const QString text = file.value(key).toString();
  if (text == QLatin1String("true")) return true;
  if (text == QLatin1String("false")) return false;
  return std::nullopt;
}

}  // namespace

QString ReaderSettingsStore::DefaultPath() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty() || QDir::isRelativePath(config))
    config = QDir::homePath() + QStringLiteral("/.config");
  return config + QStringLiteral("/langxing/langxing.conf");
}

ReaderSettingsStore::ReaderSettingsStore(QString path) : path_(std::move(path)) {}

bool IsSwatchColourText(const QString& colour) {
  if (colour == QLatin1String("0")) return true;
  for (const langxing::Swatch& row : langxing::Swatches) {
    const std::string decimal = std::to_string(row.colour);
    const std::u16string text =
        langxing::SwatchColourText(row, std::u16string(decimal.begin(), decimal.end()));
    if (colour == QString::fromStdU16String(text)) return true;
  }
  return false;
}

KeptSettings ReaderSettingsStore::Load() const {
  KeptSettings kept;
  if (!QFileInfo(path_).isFile()) return kept;
  const QSettings file(path_, QSettings::IniFormat);
  if (file.status() != QSettings::NoError) return kept;

  if (const QString colour = file.value(QStringLiteral("reader/colour")).toString();
      IsSwatchColourText(colour))
    kept.colour = colour;
  kept.articleFontSize =
      IntIn(file, QStringLiteral("reader/fontSize"), 10, 36).value_or(kept.articleFontSize);
  kept.listFontSize =
      IntIn(file, QStringLiteral("lists/fontSize"), 10, 36).value_or(kept.listFontSize);
  kept.showImages = BoolOf(file, QStringLiteral("reader/showImages")).value_or(kept.showImages);
  kept.showVideo = BoolOf(file, QStringLiteral("reader/showVideo")).value_or(kept.showVideo);

  const auto x = IntIn(file, QStringLiteral("window/x"), -LargestSide, LargestSide);
  const auto y = IntIn(file, QStringLiteral("window/y"), -LargestSide, LargestSide);
  const auto width = IntIn(file, QStringLiteral("window/width"), 1, LargestSide);
  const auto height = IntIn(file, QStringLiteral("window/height"), 1, LargestSide);
  if (x && y && width && height) kept.windowPlace = QRect(*x, *y, *width, *height);
  kept.maximised = BoolOf(file, QStringLiteral("window/maximised")).value_or(false);
  if (const auto left = IntIn(file, QStringLiteral("window/splitter"), 0, 20 * LargestSide))
    kept.splitterLeft = *left;
  kept.channel = file.value(QStringLiteral("catalog/channel")).toString();
  return kept;
}

bool ReaderSettingsStore::Save(const KeptSettings& settings) const {
  QSettings file(path_, QSettings::IniFormat);
  file.setValue(QStringLiteral("reader/colour"), settings.colour);
  file.setValue(QStringLiteral("reader/fontSize"), settings.articleFontSize);
  file.setValue(QStringLiteral("reader/showImages"), settings.showImages);
  file.setValue(QStringLiteral("reader/showVideo"), settings.showVideo);
  file.setValue(QStringLiteral("lists/fontSize"), settings.listFontSize);
  if (settings.windowPlace) {
    file.setValue(QStringLiteral("window/x"), settings.windowPlace->x());
    file.setValue(QStringLiteral("window/y"), settings.windowPlace->y());
    file.setValue(QStringLiteral("window/width"), settings.windowPlace->width());
    file.setValue(QStringLiteral("window/height"), settings.windowPlace->height());
  }
  file.setValue(QStringLiteral("window/maximised"), settings.maximised);
  if (settings.splitterLeft)
    file.setValue(QStringLiteral("window/splitter"), static_cast<int>(*settings.splitterLeft));
  file.setValue(QStringLiteral("catalog/channel"), settings.channel);
  file.sync();
  return file.status() == QSettings::NoError;
}

std::optional<UsablePlace> UsableWindowPlace(const QRect& saved, const QList<QRect>& screens,
                                             const QSize& least) {
  if (saved.width() < least.width() || saved.height() < least.height() ||
      saved.width() > LargestSide || saved.height() > LargestSide || screens.isEmpty())
    return std::nullopt;
  UsablePlace usable{saved.size(), std::nullopt};
  for (const QRect& screen : screens) {
    // The top of the window, where the title bar is grabbed, must lie on this screen.
    const QRect top(saved.left(), saved.top(), saved.width(), ReachableHeight);
    const QRect onScreen = top.intersected(screen);
    if (onScreen.width() < std::min(ReachableWidth, saved.width()) ||
        onScreen.height() < ReachableHeight)
      continue;
    usable.topLeft = saved.topLeft();
    usable.size = usable.size.boundedTo(screen.size()).expandedTo(least);
    return usable;
  }
  // Off every screen: the size alone, no larger than the largest screen.
  QSize largest;
  for (const QRect& screen : screens) largest = largest.expandedTo(screen.size());
  usable.size = usable.size.boundedTo(largest).expandedTo(least);
  return usable;
}
