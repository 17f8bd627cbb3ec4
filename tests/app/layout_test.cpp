// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout.hpp"

#include <gtest/gtest.h>

#include <numeric>

namespace langxing {
namespace {

TEST(ResizeRule, LaysOutAWindowOf12000By9000) {
  const ResizeResult r = ApplyResizeRule(12000, 9000, PaneGeometry::Design());
  EXPECT_EQ(r.panes.Frame2.width, 9055);
  EXPECT_EQ(r.panes.Frame2.height, 8300);
  EXPECT_EQ(r.panes.WebBrowser2.width, 8955);
  EXPECT_EQ(r.panes.WebBrowser2.height, 8000);
  EXPECT_EQ(r.panes.Frame3.height, 7950);
  EXPECT_EQ(r.panes.Frame3.width, 2675);
  EXPECT_EQ(r.panes.Picture2.height, 7900);
  EXPECT_EQ(r.panes.TabStrip1.height, 8300);
  EXPECT_EQ(r.panes.List2.height, 7870);
  EXPECT_EQ(r.panes.TreeView1.height, 7870);
  EXPECT_EQ(r.panelWidths, (std::array<double, 4>{1200, 6000, 2400, 2400}));
}

TEST(ResizeRule, NeverMovesAnythingNorTouchesTheSplitterWidths) {
  const PaneGeometry before = PaneGeometry::Design();
  const PaneGeometry after = ApplyResizeRule(15000, 11000, before).panes;
  for (auto member : {&PaneGeometry::TabStrip1, &PaneGeometry::TreeView1, &PaneGeometry::List2,
                      &PaneGeometry::Frame3, &PaneGeometry::Picture2, &PaneGeometry::Frame2,
                      &PaneGeometry::WebBrowser2}) {
    EXPECT_EQ((after.*member).left, (before.*member).left);
    EXPECT_EQ((after.*member).top, (before.*member).top);
  }
  EXPECT_EQ(after.TabStrip1.width, before.TabStrip1.width);
  EXPECT_EQ(after.TreeView1.width, before.TreeView1.width);
  EXPECT_EQ(after.List2.width, before.List2.width);
  EXPECT_EQ(after.Picture2.width, before.Picture2.width);
}

TEST(ResizeRule, AWindowUnder700HighKeepsEveryHeight) {
  const PaneGeometry before = ApplyResizeRule(12000, 9000, PaneGeometry::Design()).panes;
  const PaneGeometry after = ApplyResizeRule(12000, 600, before).panes;
  EXPECT_EQ(after.Frame2.height, before.Frame2.height);
  EXPECT_EQ(after.Frame3.height, before.Frame3.height);
  EXPECT_EQ(after.Picture2.height, before.Picture2.height);
  EXPECT_EQ(after.WebBrowser2.height, before.WebBrowser2.height);
  EXPECT_EQ(after.TabStrip1.height, before.TabStrip1.height);
  EXPECT_EQ(after.List2.height, before.List2.height);
  EXPECT_EQ(after.TreeView1.height, before.TreeView1.height);
}

TEST(ResizeRule, ANarrowWindowKeepsTheRightPaneWidthAndSizesTheViewFromIt) {
  PaneGeometry before = PaneGeometry::Design();
  before.Frame2.width = 5000;
  before.WebBrowser2.width = 1234;
  // 2775 + 50 + 120 = 2945 is the narrowest width that still sizes the right pane.
  const PaneGeometry after = ApplyResizeRule(2900, 9000, before).panes;
  EXPECT_EQ(after.Frame2.width, 5000);
  EXPECT_EQ(after.WebBrowser2.width, 4900);
  EXPECT_EQ(ApplyResizeRule(2945, 9000, before).panes.Frame2.width, 0);
}

TEST(ResizeRule, ShortWindowSkipsOnlyTheStepsThatComeOutNegative) {
  // H - 700 = 200: the right pane and the tab strip shrink; every size derived from 200 by
  // subtracting 300 or more would be negative and is left as it was.
  const PaneGeometry before = PaneGeometry::Design();
  const PaneGeometry after = ApplyResizeRule(12000, 900, before).panes;
  EXPECT_EQ(after.Frame2.height, 200);
  EXPECT_EQ(after.TabStrip1.height, 200);
  EXPECT_EQ(after.Frame3.height, before.Frame3.height);
  EXPECT_EQ(after.Picture2.height, before.Picture2.height);
  EXPECT_EQ(after.List2.height, before.List2.height);
  EXPECT_EQ(after.TreeView1.height, before.TreeView1.height);
  EXPECT_EQ(after.WebBrowser2.height, before.WebBrowser2.height);
}

TEST(ResizeRule, PanelWidthsAddUpToTheOuterWidth) {
  for (const double w : {0.0, 1.0, 3333.0, 11325.0, 28800.0}) {
    const auto widths = ApplyResizeRule(w, 9000, PaneGeometry::Design()).panelWidths;
    EXPECT_DOUBLE_EQ(std::accumulate(widths.begin(), widths.end(), 0.0), w) << w;
  }
}

}  // namespace
}  // namespace langxing
