// SPDX-License-Identifier: GPL-3.0-or-later
// Form1's controls: creation, containment, design geometry, initial properties, focus order.
#include "app/form1.hpp"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>

#include "app/article_view.hpp"
#include "app/headline_titles.hpp"
#include "app/named_widget.hpp"
#include "app/picture_box.hpp"
#include "app/reader_settings_store.hpp"
#include "app/settings_pane.hpp"
#include "app/status_bar.hpp"
#include "app/tab_strip.hpp"
#include "core/portal.hpp"

using langxing::TwipsBox;

using langxing::PlaceInTwips;
using langxing::TwipsToPixels;

namespace {

// "朗星快报 1.2": the program's name and the version of the build.
QString ProgramTitle() {
  return QStringLiteral("朗星快报 ") +
         QString::fromStdU16String(std::u16string(langxing::ProgramVersion));
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption) {
  auto* frame = Named(new QGroupBox(caption, parent), name);
  frame->setFocusPolicy(Qt::NoFocus);
  return frame;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(ProgramTitle());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  resize(TwipsToPixels(langxing::DesignClientWidth), TwipsToPixels(langxing::DesignClientHeight));
  CreateControls();
  SetAccessibleNames();
  SetFocusOrder();
  ConnectHandlers();
  CreateHeadlineView();
  CreateUpdateView();
  ConnectCatalogHandlers();
  ConnectSettingsKeeping();
  ConnectHeadlineMenu();
  // A build without the update check (its updates come from the distribution) starts no timer
  // for it.
  if (langxing::UpdateCheckEnabled) Timer1->start();
  Timer2->start();
}

Form1::~Form1() { EndRendersWithTheWindow(); }

void Form1::CreateControls() {
  const langxing::PaneGeometry& g = panes_;

  TabStrip1 = Named(new TabStrip(this), "TabStrip1");
  TabStrip1->addTab(QStringLiteral("新闻目录"));
  TabStrip1->addTab(QStringLiteral("新闻标题"));
  TabStrip1->addTab(QStringLiteral("设置"));
  TabStrip1->setCurrentIndex(0);

  Frame2 = MakeFrame(this, "Frame2", QString());
  WebBrowser2 = Named(new ArticleView(Frame2), "WebBrowser2");
  // The view hands the focus on to its page; it needs a place of its own in the focus order.
  WebBrowser2->setFocusPolicy(Qt::StrongFocus);
  PlaceInTwips(WebBrowser2, g.WebBrowser2);

  List2 = Named(new QListWidget(this), "List2");
  QFont listFont;
  listFont.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                        QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
  listFont.setPointSizeF(10.5);
  listFont.setWeight(QFont::Normal);
  List2->setFont(listFont);
  // A listing can hold thousands of headlines: lay them out a batch at a time, so the first
  // rows show at once and the window stays responsive while the rest are measured.
  List2->setLayoutMode(QListView::Batched);
  ShowHeadlineTitles(List2);
  List2->hide();

  Frame1 = MakeFrame(this, "Frame1", QStringLiteral("Frame1"));
  PlaceInTwips(Frame1, {2880, 1320, 4755, 3795});
  Frame1->hide();
  Timer1 = Named(new QTimer(Frame1), "Timer1");
  Timer1->setInterval(3000);
  Timer2 = Named(new QTimer(Frame1), "Timer2");
  Timer2->setInterval(1000);

  TreeView1 = Named(new QTreeWidget(this), "TreeView1");
  TreeView1->setHeaderHidden(true);
  TreeView1->setColumnCount(1);
  TreeView1->setRootIsDecorated(true);
  TreeView1->setUniformRowHeights(true);
  // The one column is as wide as its widest name, and the tree scrolls sideways when that is
  // wider than the tree, as the list does, rather than cut the names short.
  TreeView1->header()->setStretchLastSection(false);
  TreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  TreeView1->setTextElideMode(Qt::ElideNone);
  // The classic style draws the dotted lines between a node and its children.
  if (QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"))) {
    lines->setParent(TreeView1);
    TreeView1->setStyle(lines);
  }

  StatusBar1 = Named(new StatusBar(this), "StatusBar1");
  StatusBar1->SetPanelText(TitlePanel, ProgramTitle() + QLatin1Char(' '));

  Frame3 = new SettingsPane(this);

  Picture2 = Named(new PictureBox(this), "Picture2");
  Picture2->setCursor(Qt::SizeHorCursor);
  // The scroll-bar trough's shade: darker than the window and the views on either side, so the
  // bar can be seen before it is first dragged.
  Picture2->SetBackColor(QApplication::palette().color(QPalette::Mid));

  // Stacking order, bottom first: the left pane's views and the bar lie over the tab strip.
  for (QWidget* w : std::initializer_list<QWidget*>{TabStrip1, Frame2, List2, Frame1, TreeView1,
                                                    StatusBar1, Frame3, Picture2})
    w->raise();

  ApplyPanes();
  PlaceStatusBar();
}

PictureBox* Form1::SwatchByName(std::string_view name) const { return Frame3->SwatchByName(name); }

void Form1::SetAccessibleNames() {
  // Check boxes, frames with a caption, tabs and status panels are named by their own texts,
  // the swatches by their colours; the rest by what they hold.
  TabStrip1->setAccessibleName(QStringLiteral("左窗格"));
  TabStrip1->Bar()->setAccessibleName(TabStrip1->accessibleName());
  TreeView1->setAccessibleName(TabStrip1->tabText(0));
  List2->setAccessibleName(TabStrip1->tabText(1));
  Frame3->setAccessibleName(TabStrip1->tabText(2));
  Picture2->setAccessibleName(QStringLiteral("窗格分隔条"));
  Frame2->setAccessibleName(QStringLiteral("文章"));
  WebBrowser2->setAccessibleName(QStringLiteral("文章"));
  StatusBar1->setAccessibleName(QStringLiteral("状态栏"));
}

void Form1::SetFocusOrder() {
  std::vector<QWidget*> order = {Frame2,   List2,     Frame1,    WebBrowser2,
                                 Picture2, TabStrip1, TreeView1, StatusBar1};
  // Then the settings pane and its controls.
  for (QWidget* w : Frame3->FocusOrder()) order.push_back(w);
  // Frames, labels and picture boxes hold their places but never take the focus; Qt links only
  // widgets that do, so the chain is made of those, in the same order.
  QWidget* previous = nullptr;
  for (QWidget* w : order) {
    if (w->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void Form1::ConnectHandlers() {
  connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
  connect(TabStrip1, &TabStrip::currentChanged, this, [this](int) { TabStrip1_Click(); });
  connect(Frame3, &SettingsPane::ListFontSizeChanged, this, &Form1::HScroll2_Change);
  connect(Picture2, &PictureBox::MouseDown, this, &Form1::Picture2_MouseDown);
  connect(Picture2, &PictureBox::MouseMove, this, &Form1::Picture2_MouseMove);
  connect(Picture2, &PictureBox::MouseUp, this, &Form1::Picture2_MouseUp);
  ConnectReaderHandlers();
  ConnectSwatchHandlers();
  ConnectTabKeys();
}

void Form1::SetMessageBox(langxing::MessageBoxService* box) { messageBox_ = box; }

langxing::MessageBoxService& Form1::MessageBox() {
  if (messageBox_ != nullptr) return *messageBox_;
  if (!ownMessageBox_) ownMessageBox_ = std::make_unique<langxing::QtMessageBoxService>(this);
  return *ownMessageBox_;
}

void Form1::SetWorkingDirectory(std::filesystem::path dir) { workingDirectory_ = std::move(dir); }
