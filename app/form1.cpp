// SPDX-License-Identifier: GPL-3.0-or-later
// Form1's controls: creation, containment, design geometry, initial properties, focus order.
#include "app/form1.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTextLayout>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>

#include "app/article_view.hpp"
#include "app/font_size_bar.hpp"
#include "app/headline_titles.hpp"
#include "app/picture_box.hpp"
#include "app/status_bar.hpp"
#include "app/tab_strip.hpp"
#include "core/portal.hpp"
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

// "朗星快报 1.2": the program's name and the version of the build.
QString ProgramTitle() {
  return QStringLiteral("朗星快报 ") +
         QString::fromStdU16String(std::u16string(langxing::ProgramVersion));
}

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

// The colours' names, which a screen reader says for the swatches.
constexpr std::pair<std::string_view, const char*> SwatchColourNames[] = {
    {"Picture9", "白色"}, {"Picture10", "浅灰色"}, {"Picture3", "银灰色"}, {"Picture4", "灰色"},
    {"Picture8", "米色"}, {"Picture5", "驼色"},    {"Picture6", "淡紫色"}, {"Picture7", "绿色"}};

QString SwatchColourName(std::string_view swatch) {
  for (const auto& [name, colour] : SwatchColourNames)
    if (name == swatch) return QString::fromUtf8(colour);
  return QString();
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
  Timer1->start();
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

  CreateSettingsPane();

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

void Form1::CreateSettingsPane() {
  Frame3 = MakeFrame(this, "Frame3", QString());
  Frame3->hide();

  Check1 = Named(new QCheckBox(QStringLiteral("显示图像"), Frame3), "Check1");
  PlaceInTwips(Check1, {120, 240, 2055, 255});
  Check1->setChecked(true);
  Check2 = Named(new QCheckBox(QStringLiteral("显示视频"), Frame3), "Check2");
  PlaceInTwips(Check2, {120, 600, 1095, 255});
  Check2->setChecked(false);

  Label1 = MakeLabel(Frame3, "Label1", QStringLiteral("字体大小(内容区)"));
  HScroll1 = MakeScrollBar(Frame3, "HScroll1", 14, Label1->text());
  PlaceInTwips(HScroll1, {120, 1200, 2415, 255});

  Label2 = MakeLabel(Frame3, "Label2", QStringLiteral("字体大小(目录区)"));
  HScroll2 = MakeScrollBar(Frame3, "HScroll2", 12, Label2->text());
  PlaceInTwips(HScroll2, {120, 1800, 2415, 255});
  PlaceCaptions();

  Frame4 = MakeFrame(Frame3, "Frame4", QStringLiteral("背景颜色"));
  PlaceInTwips(Frame4, Frame4Design);

  PictureBox** swatchMembers[] = {&Picture3, &Picture4, &Picture5, &Picture6,
                                  &Picture7, &Picture8, &Picture9, &Picture10};
  for (PictureBox** member : swatchMembers) *member = new PictureBox(Frame4);
  for (const langxing::Swatch& swatch : langxing::Swatches) {
    const QString name = QString::fromLatin1(swatch.name.data(), swatch.name.size());
    PictureBox* box = SwatchByName(swatch.name);
    if (box == nullptr) continue;
    box->setObjectName(name);
    const langxing::Rgb rgb = langxing::RgbOf(swatch.colour);
    box->SetBackColor(QColor(rgb.red, rgb.green, rgb.blue));
    // Reached with Tab like the other settings; Space or Enter presses it.
    box->setFocusPolicy(Qt::StrongFocus);
    box->setAccessibleName(SwatchColourName(swatch.name));
  }
  PlaceSwatchesInFrame();
}

void Form1::PlaceCaptions() {
  PlaceCaptionAbove(Label1, {120, 960, 2175, 255}, HScroll1);
  PlaceCaptionAbove(Label2, {120, 1560, 2295, 255}, HScroll2);
}

void Form1::PlaceSwatchesInFrame() {
  std::vector<std::pair<PictureBox*, TwipsBox>> boxes;
  for (const langxing::Swatch& swatch : langxing::Swatches)
    if (PictureBox* box = SwatchByName(swatch.name))
      boxes.push_back({box,
                       {static_cast<double>(swatch.left), static_cast<double>(swatch.top),
                        SwatchSize, SwatchSize}});
  PlaceSwatches(Frame4, boxes, Frame4Design);
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
  ConnectTabKeys();
}

void Form1::SetMessageBox(langxing::MessageBoxService* box) { messageBox_ = box; }

langxing::MessageBoxService& Form1::MessageBox() {
  if (messageBox_ != nullptr) return *messageBox_;
  if (!ownMessageBox_) ownMessageBox_ = std::make_unique<langxing::QtMessageBoxService>(this);
  return *ownMessageBox_;
}

void Form1::SetWorkingDirectory(std::filesystem::path dir) { workingDirectory_ = std::move(dir); }
