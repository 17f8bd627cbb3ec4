// SPDX-License-Identifier: GPL-3.0-or-later
// The one main window. It owns every control and all state of the run; its event handlers are
// split over form1_*.cpp by area.
#pragma once

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/address_opener.hpp"
#include "app/clock.hpp"
#include "app/layout.hpp"
#include "app/message_box.hpp"
#include "core/downloader.hpp"
#include "core/latest_request_worker.hpp"
#include "core/page_loader.hpp"
#include "headlines/headlines.hpp"
#include "reader/render_article.hpp"

class ArticleView;
class FocusRing;
class PictureBox;
class ReadHeadlines;
class ReaderSettingsStore;
struct KeptSettings;
class SettingsPane;
class StatusBar;
class TabStrip;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QShortcut;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

class Form1 : public QWidget {
  Q_OBJECT

 public:
  // The status bar panels, numbered from 1.
  static constexpr int TitlePanel = 1;
  static constexpr int NotePanel = 2;
  static constexpr int ClockPanel = 3;
  static constexpr int StatusPanel = 4;

  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // ---- Services, set before Form_Load --------------------------------------------------------
  // The message box the window shows its messages in; not owned. nullptr: the Qt message box.
  void SetMessageBox(langxing::MessageBoxService* box);
  langxing::MessageBoxService& MessageBox();
  // The one folder chan.dll is looked for in; empty (the default): the working directory, the
  // program's folder, then the data folders (catalog/channel_file_places.hpp).
  void SetWorkingDirectory(std::filesystem::path dir);
  // Where the reader's settings are kept between runs; not owned. nullptr (the default): the
  // window starts with the design's settings and keeps nothing (form1_settings.cpp).
  void SetSettingsStore(ReaderSettingsStore* store);
  // Writes the settings as they are now to the store, at once (they are otherwise written a
  // moment after they change, and when the window closes).
  void KeepSettingsNow();
  // How long after a change the settings are written: quick steps give one write.
  static constexpr int KeepSettingsDelayMs = 500;

  // ---- Start-up (form1_startup.cpp) ----------------------------------------------------------
  // Runs once, before the window is first shown; later calls do nothing.
  void Form_Load();

  // ---- Status bar and clock (form1_status.cpp) -----------------------------------------------
  // Replaces panel `panel`'s whole text and paints it at once. Panels outside 1..4 are ignored.
  void SetPanelText(int panel, std::u16string_view text);
  std::u16string PanelText(int panel) const;
  // Called after every panel write (panel, text); tests record the sequence of a run with it.
  // nullptr: no one watches.
  void SetPanelTextWatcher(std::function<void(int, const std::u16string&)> watcher);
  // A tick of the running clock: reads the local time and writes its clock text to ClockPanel.
  void Timer2_Timer();
  // Where the clock reads the time; by default the system's local time. Tests put a fake here.
  void SetClockSource(std::function<langxing::ClockTime()> source);
  langxing::ClockTime Clock() const;
  void SetClock(const langxing::ClockTime& time);

  // ---- Tabs and list font size (form1_tabs.cpp) ----------------------------------------------
  // Shows the left-pane view of the selected tab, chosen by its caption.
  void TabStrip1_Click();
  // Selects the tab with this caption (as a click would); false when there is none.
  bool SelectTab(std::u16string_view caption);
  std::u16string SelectedTabCaption() const;
  // Applies HScroll2's value as the point size of the tree's and the list's fonts.
  void HScroll2_Change();

  // ---- Layout and splitter (form1_layout.cpp) ------------------------------------------------
  // Lays the controls out for the window's current outer size.
  void Form_Resize();
  void Picture2_MouseDown(int button, int shift, double x, double y);
  void Picture2_MouseMove(int buttons, int shift, double x, double y);
  void Picture2_MouseUp(int button, int shift, double x, double y);
  // The geometry, in twips, of the controls the resize rule and the splitter lay out.
  const langxing::PaneGeometry& Panes() const { return panes_; }
  // The window's outer size in twips: its frame when the window system reports one, else its
  // client size plus the designed border.
  double OuterWidthTwips() const;
  double OuterHeightTwips() const;
  double ClientWidthTwips() const;
  // The least client size at which every control stays visible and each status panel holds its
  // texts; the window cannot be made smaller (set when it is first shown).
  QSize MinimumClientSize() const;

  // ---- Article reader (form1_reader.cpp, form1_swatches.cpp) ---------------------------------
  // The downloader articles are fetched through; not owned. nullptr (the default): libcurl.
  // A render in flight is given up first, and its download has ended when this returns, so the
  // previous downloader may be destroyed then.
  void SetDownloader(langxing::Downloader* downloader);
  // A click (or Enter) on a headline of List2: opens the item's article in WebBrowser2.
  void List2_Click(const QListWidgetItem* item);
  // HScroll1's value changed: renders the current article again at the new font size, once
  // the value has rested for FontSizeSettleMs (quick steps give one render, at the last value).
  void HScroll1_Change();
  static constexpr int FontSizeSettleMs = 200;
  // Starts downloading and rendering ArticleUrl again with the current settings; the page is
  // written into WebBrowser2 when the download has ended. The window goes on answering
  // meanwhile, and a newer render supersedes this one.
  void ReloadArticle();
  // True from the start of a render (or a font-size change waiting to settle) until its page
  // is written or it is given up.
  bool RenderInFlight() const;
  // Gives the render in flight up: its download is aborted, the view keeps what it shows and
  // the status reads "状态：空闲". Escape in the window does this.
  void CancelRender();
  // WebBrowser2's page title changed to `title`.
  void WebBrowser2_TitleChange(const std::u16string& title);
  // Press and release on one of the colour swatches Picture3..Picture10.
  void Swatch_MouseDown(PictureBox* swatch);
  void Swatch_MouseUp(PictureBox* swatch);
  // The reader settings as the controls hold them now.
  langxing::ReaderSettings CurrentReaderSettings() const;
  // ---- end of the article reader block ---------------------------------------------------
  // ---- Channels, headline lists and the update notice ----------------------------------------
  // (form1_catalog.cpp, form1_headlines.cpp, form1_update.cpp)
  // A click on (or Enter at) a catalog node; works on the tree's selected node.
  void TreeView1_NodeClick();
  // F5: loads the headline page of the channel opened last (or selected at start) again.
  void ReloadChannel();
  // Fills List2 from the page WebBrowser1 has just completed.
  void WebBrowser1_DocumentComplete();
  // Starts the update check (once: Timer1 is stopped).
  void Timer1_Timer();
  // Evaluates the announcement WebBrowser3 has just completed.
  void WebBrowser3_DocumentComplete();
  // Where the download address goes; not owned. nullptr: the desktop's browser.
  void SetAddressOpener(AddressOpener* opener);
  // What ends the program after the update notice; by default leaving the event loop with
  // status 0. Tests put a recorder here.
  void SetProgramEnder(std::function<void()> ender);
  // True once the program has begun to end: every handler above then does nothing.
  bool Ending() const { return ending_; }
  // ---- end of channels, headline lists and the update notice -------------------------------

  // The address of the article the reader shows (or is fetching).
  const std::u16string& ArticleAddress() const { return ArticleUrl; }
  // The channel file's lines in file order, as read at start-up.
  const std::vector<std::u16string>& ChannelLines() const { return List1; }

  // Centres the window on its screen the first time it is shown.
  void setVisible(bool visible) override;

 signals:
  // A render has ended: its page was written, or it was given up or superseded.
  void RenderEnded();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Tests reach the hidden views and the few values no control shows through this
  // (tests/support/form1_access.hpp).
  friend struct Form1Access;

  void CreateControls();
  void SetAccessibleNames();
  void SetFocusOrder();
  void ConnectHandlers();
  void ConnectTabKeys();
  void FillCatalogTree();
  void ApplyPanes();
  void PlaceStatusBar();
  void CentreOnScreen();

  // ---- Article reader (form1_reader.cpp, form1_swatches.cpp) ---------------------------------
  void ConnectReaderHandlers();
  void ConnectSwatchHandlers();
  void RenderIntoView();
  void WriteRender(std::uint64_t generation, const std::u16string& html, const std::u16string& url);
  bool IsCurrentRender(std::uint64_t generation) const;
  void EndRender();
  void GiveUpRender();
  void EndRendersWithTheWindow();
  langxing::Downloader* downloader_ = nullptr;
  // Downloads and renders the newest article on a thread of its own; stopped and joined when
  // the window goes.
  langxing::LatestRequestWorker renderWorker_;
  std::function<void(std::function<void()>)> renderPoster_;
  std::uint64_t renderGeneration_ = 0;
  bool renderRunning_ = false;
  QTimer* fontSizeSettle_ = nullptr;
  QShortcut* escapeShortcut_ = nullptr;
  void SetBusy(bool busy);
  bool busyPointer_ = false;
  // ---- end of the article reader block ---------------------------------------------------
  // Channels, headline lists and the update notice.
  // Makes the headline view (WebBrowser1); tests give it shorter limits.
  void CreateHeadlineView(const langxing::NetworkLimits& limits = {});
  void CreateUpdateView();
  void ConnectCatalogHandlers();
  void OnTreeItemClicked(QTreeWidgetItem* item);
  void OnTreeItemActivated(QTreeWidgetItem* item);
  // Starts loading the headline page of the channel at this catalog path.
  void OpenChannel(const std::u16string& path);
  std::u16string openChannel_;  // the catalog path of the channel opened last
  // The headline list's context menu, the read headlines and the failure line
  // (form1_headline_menu.cpp).
  void ConnectHeadlineMenu();
  void ShowHeadlineMenu(const QPoint& at);
  ReadHeadlines* readHeadlines_ = nullptr;
  FocusRing* focusRing_ = nullptr;
  void EndProgramAtOnce();
  AddressOpener& Opener();
  std::unique_ptr<AddressOpener> ownOpener_;
  AddressOpener* opener_ = nullptr;
  std::function<void()> programEnder_;
  QTreeWidgetItem* clickedInThisEvent_ = nullptr;
  bool ending_ = false;

  langxing::PaneGeometry panes_ = langxing::PaneGeometry::Design();
  std::unique_ptr<langxing::MessageBoxService> ownMessageBox_;
  langxing::MessageBoxService* messageBox_ = nullptr;
  std::filesystem::path workingDirectory_;
  // Keeping the settings between runs (form1_settings.cpp).
  void ConnectSettingsKeeping();
  void RestoreKeptSettings();
  void RestoreWindowPlace();
  void SelectChannelNode(const std::u16string& path);
  void KeepSettingsSoon();
  void KeepSettingsAtClose();
  KeptSettings SettingsNow() const;
  ReaderSettingsStore* settingsStore_ = nullptr;
  std::unique_ptr<KeptSettings> restored_;  // what the store held at start, until shown
  QTimer* keepSettings_ = nullptr;
  bool watchPlace_ = false;  // the window has settled where it was first shown
  bool loaded_ = false;
  bool centred_ = false;
  std::function<langxing::ClockTime()> clockSource_ = langxing::ClockTimeNow;
  std::function<void(int, const std::u16string&)> panelTextWatcher_;

  // A colour swatch of the settings pane by its name ("Picture3" .. "Picture10"), or nullptr.
  PictureBox* SwatchByName(std::string_view name) const;

  // ---- Controls (form1.cpp), by their names ---------------------------------------------------
  TabStrip* TabStrip1;
  QTreeWidget* TreeView1;
  QListWidget* List2;
  // The settings pane: Check1, Check2, Label1, HScroll1, Label2, HScroll2 and the colour frame
  // Frame4 with the swatches Picture3..Picture10 (settings_pane.hpp).
  SettingsPane* Frame3;
  PictureBox* Picture2;
  QGroupBox* Frame2;
  ArticleView* WebBrowser2;
  StatusBar* StatusBar1;
  QGroupBox* Frame1;
  // Starts the update check 3 s after start-up. Started with the window; its tick handler is
  // connected where the update check is built.
  QTimer* Timer1;
  QTimer* Timer2;  // the running clock, 1 s; ticks Timer2_Timer
  // The two hidden views: headline pages, and the update announcement. Created with the window.
  std::unique_ptr<langxing::PageLoader> WebBrowser1;
  std::unique_ptr<langxing::PageLoader> WebBrowser3;
  // Storage-only controls.
  std::u16string Text1{u"0"};  // background colour text of the reader page
  std::u16string Text2{langxing::DefaultTitleStartMarker};  // start marker of a headline title
  std::vector<std::u16string> List1;  // the channel list: chan.dll's lines in file order

  // ---- Window fields -------------------------------------------------------------------------
  // The time the clock panel shows; all zero until the first tick.
  langxing::ClockTime clock_{0, 0, 0, 0, 0, 0};
  bool UpdateCheckPending = false;
  bool HeadlinesRequested = false;
  std::u16string ArticleUrl;
  std::u16string SavedSwatchColour;
};
