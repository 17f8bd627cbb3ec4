// SPDX-License-Identifier: GPL-3.0-or-later
// Form1's controls: creation, containment, design geometry, initial properties, focus order.
#include "app/form1.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>

#include "app/article_view.hpp"
#include "app/picture_box.hpp"
#include "app/status_bar.hpp"
#include "app/tab_strip.hpp"
#include "reader/swatches.hpp"

using langxing::TwipsBox;

int TwipsToPixels(double twips) {
  return static_cast<int>(std::lround(twips / langxing::TwipsPerPixel));
}

void PlaceInTwips(QWidget* widget, const TwipsBox& box) {
  widget->setGeometry(TwipsToPixels(box.left), TwipsToPixels(box.top), TwipsToPixels(box.width),
                      TwipsToPixels(box.height));
}

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption) {
  auto* frame = Named(new QGroupBox(caption, parent), name);
  frame->setFocusPolicy(Qt::NoFocus);
  return frame;
}

QScrollBar* MakeScrollBar(QWidget* parent, const char* name, int value) {
  auto* bar = Named(new QScrollBar(Qt::Horizontal, parent), name);
  bar->setRange(10, 36);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setValue(value);
  // A thumb drag is applied once, when it ends.
  bar->setTracking(false);
  // The arrow keys move it too.
  bar->setFocusPolicy(Qt::StrongFocus);
  return bar;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("朗星快报 1.2"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  resize(TwipsToPixels(langxing::DesignClientWidth), TwipsToPixels(langxing::DesignClientHeight));
  CreateControls();
  SetFocusOrder();
  ConnectHandlers();
  CreateHeadlineView();
  CreateUpdateView();
  ConnectCatalogHandlers();
  Timer1->start();
  Timer2->start();
}

Form1::~Form1() = default;

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
  // The classic style draws the dotted lines between a node and its children.
  if (QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"))) {
    lines->setParent(TreeView1);
    TreeView1->setStyle(lines);
  }

  StatusBar1 = Named(new StatusBar(this), "StatusBar1");
  StatusBar1->SetPanelText(TitlePanel, QStringLiteral("朗星快报 1.2 "));

  CreateSettingsPane();

  Picture2 = Named(new PictureBox(this), "Picture2");
  Picture2->setCursor(Qt::SizeHorCursor);
  Picture2->SetBackColor(QApplication::palette().color(QPalette::Button));

  // Stacking order, bottom first: the left pane's views and the bar lie over the tab strip.
  for (QWidget* w : std::initializer_list<QWidget*>{TabStrip1, Frame2, List2, Frame1, TreeView1,
                                                    StatusBar1, Frame3, Picture2})
    w->raise();

  ApplyPanes();
  PlaceStatusBar();
}

void Form1::CreateSettingsPane() {
  Frame3 = MakeFrame(this, "Frame3", QString());
  Frame3->hide();

  Check1 = Named(new QCheckBox(QStringLiteral("显示图像"), Frame3), "Check1");
  PlaceInTwips(Check1, {120, 240, 2055, 255});
  Check1->setChecked(true);
  Check2 = Named(new QCheckBox(QStringLiteral("显示视频"), Frame3), "Check2");
  PlaceInTwips(Check2, {120, 600, 1095, 255});
  Check2->setChecked(false);

  Label1 = Named(new QLabel(QStringLiteral("字体大小(内容区)"), Frame3), "Label1");
  PlaceInTwips(Label1, {120, 960, 2175, 255});
  HScroll1 = MakeScrollBar(Frame3, "HScroll1", 14);
  PlaceInTwips(HScroll1, {120, 1200, 2415, 255});

  Label2 = Named(new QLabel(QStringLiteral("字体大小(目录区)"), Frame3), "Label2");
  PlaceInTwips(Label2, {120, 1560, 2295, 255});
  HScroll2 = MakeScrollBar(Frame3, "HScroll2", 12);
  PlaceInTwips(HScroll2, {120, 1800, 2415, 255});

  Frame4 = MakeFrame(Frame3, "Frame4", QStringLiteral("背景颜色"));
  PlaceInTwips(Frame4, {120, 2280, 2415, 1095});

  PictureBox** swatchMembers[] = {&Picture3, &Picture4, &Picture5, &Picture6,
                                  &Picture7, &Picture8, &Picture9, &Picture10};
  for (PictureBox** member : swatchMembers) *member = new PictureBox(Frame4);
  for (const langxing::Swatch& swatch : langxing::Swatches) {
    const QString name = QString::fromLatin1(swatch.name.data(), swatch.name.size());
    PictureBox* box = SwatchByName(swatch.name);
    if (box == nullptr) continue;
    box->setObjectName(name);
    PlaceInTwips(box,
                 {static_cast<double>(swatch.left), static_cast<double>(swatch.top), 375, 375});
    box->SetBackColor(
        QColor(swatch.colour & 0xFF, (swatch.colour >> 8) & 0xFF, (swatch.colour >> 16) & 0xFF));
  }
}

PictureBox* Form1::SwatchByName(std::string_view name) const {
  const std::pair<std::string_view, PictureBox*> swatches[] = {
      {"Picture3", Picture3}, {"Picture4", Picture4},  {"Picture5", Picture5},
      {"Picture6", Picture6}, {"Picture7", Picture7},  {"Picture8", Picture8},
      {"Picture9", Picture9}, {"Picture10", Picture10}};
  for (const auto& [swatchName, box] : swatches)
    if (swatchName == name) return box;
  return nullptr;
}

void Form1::SetFocusOrder() {
  const std::vector<QWidget*> order = {
      Frame2,   List2,     Frame1,   WebBrowser2, Picture2, TabStrip1, TreeView1, StatusBar1,
      Frame3,   Check1,    Label1,   HScroll1,    Label2,   HScroll2,  Check2,    Frame4,
      Picture9, Picture10, Picture3, Picture4,    Picture5, Picture6,  Picture7,  Picture8};
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
  connect(HScroll2, &QScrollBar::valueChanged, this, [this](int) { HScroll2_Change(); });
  connect(Picture2, &PictureBox::MouseDown, this, &Form1::Picture2_MouseDown);
  connect(Picture2, &PictureBox::MouseMove, this, &Form1::Picture2_MouseMove);
  connect(Picture2, &PictureBox::MouseUp, this, &Form1::Picture2_MouseUp);
  ConnectReaderHandlers();
  ConnectSwatchHandlers();
}

void Form1::SetMessageBox(langxing::MessageBoxService* box) { messageBox_ = box; }

langxing::MessageBoxService& Form1::MessageBox() {
  if (messageBox_ != nullptr) return *messageBox_;
  if (!ownMessageBox_) ownMessageBox_ = std::make_unique<langxing::QtMessageBoxService>(this);
  return *ownMessageBox_;
}

void Form1::SetWorkingDirectory(std::filesystem::path dir) { workingDirectory_ = std::move(dir); }
