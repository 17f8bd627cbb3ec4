// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splitter.hpp"

#include <gtest/gtest.h>

namespace langxing {
namespace {

PaneGeometry WithBarAt(double left) {
  PaneGeometry g = PaneGeometry::Design();
  g.Picture2.left = left;
  return g;
}

struct ReleaseCase {
  const char* name;
  double barLeft, clientWidth;
  double wantBar, wantTabStrip, wantTree, wantList, wantFrame2Left, wantFrame2Width, wantView;
};

void PrintTo(const ReleaseCase& c, std::ostream* os) { *os << c.name; }

class SplitterReleaseTest : public testing::TestWithParam<ReleaseCase> {};

TEST_P(SplitterReleaseTest, ClampsTheBarAndSizesBothPanes) {
  const ReleaseCase& c = GetParam();
  const PaneGeometry g = SplitterRelease(WithBarAt(c.barLeft), c.clientWidth);
  EXPECT_EQ(g.Picture2.left, c.wantBar);
  EXPECT_EQ(g.TabStrip1.width, c.wantTabStrip);
  EXPECT_EQ(g.TreeView1.width, c.wantTree);
  EXPECT_EQ(g.List2.width, c.wantList);
  EXPECT_EQ(g.Frame3.width, c.wantList);
  EXPECT_EQ(g.Frame2.left, c.wantFrame2Left);
  EXPECT_EQ(g.Frame2.width, c.wantFrame2Width);
  EXPECT_EQ(g.WebBrowser2.width, c.wantView);
  // Heights, tops and the tab strip's left edge belong to the resize rule.
  EXPECT_EQ(g.TabStrip1.left, 0);
  EXPECT_EQ(g.Picture2.top, 360);
  EXPECT_EQ(g.Frame2.height, PaneGeometry::Design().Frame2.height);
}

INSTANTIATE_TEST_SUITE_P(
    Releases, SplitterReleaseTest,
    testing::Values(
        ReleaseCase{"TooFarLeft", 400, 11205, 1000, 995, 875, 895, 1045, 10155, 9995},
        ReleaseCase{"FarOffTheWindow", -5000, 11205, 1000, 995, 875, 895, 1045, 10155, 9995},
        ReleaseCase{"TooFarRight", 8500, 9000, 8000, 7995, 7875, 7895, 8045, 950, 790},
        ReleaseCase{"NarrowClientUpperLimitWins", 1200, 1500, 500, 495, 375, 395, 545, 950, 790},
        ReleaseCase{"InsideTheLimits", 4000, 11205, 4000, 3995, 3875, 3895, 4045, 7155, 6995}),
    [](const testing::TestParamInfo<ReleaseCase>& info) { return std::string(info.param.name); });

TEST(SplitterRelease, RoundsHalvesToTheEvenNeighbourBeforeTheLimits) {
  EXPECT_EQ(SplitterRelease(WithBarAt(1000.5), 11205).TabStrip1.width, 995);
  EXPECT_EQ(SplitterRelease(WithBarAt(1001.5), 11205).TabStrip1.width, 997);
  // 999.5 rounds to 1000, inside the limit: the bar's edge is left where it is.
  EXPECT_EQ(SplitterRelease(WithBarAt(999.5), 11205).Picture2.left, 999.5);
  EXPECT_EQ(SplitterRelease(WithBarAt(999.5), 11205).TabStrip1.width, 995);
  EXPECT_EQ(SplitterRelease(WithBarAt(999.4), 11205).Picture2.left, 1000);  // clamped
}

TEST(SplitterRelease, SkipsWidthsThatWouldBeNegative) {
  // Client 600 wide: the bar goes to -400; the tab strip would be -405 and keeps its width.
  const PaneGeometry before = PaneGeometry::Design();
  const PaneGeometry g = SplitterRelease(WithBarAt(2000), 600);
  EXPECT_EQ(g.Picture2.left, -400);
  EXPECT_EQ(g.TabStrip1.width, before.TabStrip1.width);
  EXPECT_EQ(g.List2.width, before.TabStrip1.width - 100);
  EXPECT_EQ(g.Frame2.left, before.TabStrip1.width + 50);
  EXPECT_EQ(g.Frame2.width, before.Frame2.width);  // 600 - 2825 - 5 < 0
  EXPECT_EQ(g.WebBrowser2.width, before.Frame2.width - 160);
}

TEST(RoundHalfEven, RoundsLikeTheBankers) {
  const std::pair<double, double> cases[] = {{1000.5, 1000}, {1001.5, 1002}, {0.5, 0},
                                             {1.5, 2},       {2.4, 2},       {2.6, 3},
                                             {-0.5, 0},      {-1.5, -2},     {-2.5, -2}};
  for (const auto& [in, want] : cases) EXPECT_EQ(RoundHalfEven(in), want) << in;
}

TEST(SplitterMove, FollowsThePointerOnlyWithTheLeftButtonAlone) {
  EXPECT_EQ(SplitterMove(2760, LeftButtonBit, 300), 3060);
  EXPECT_EQ(SplitterMove(2760, LeftButtonBit, -2000), 760);
  EXPECT_EQ(SplitterMove(2760, LeftButtonBit | RightButtonBit, 300), 2760);
  EXPECT_EQ(SplitterMove(2760, RightButtonBit, 300), 2760);
  EXPECT_EQ(SplitterMove(2760, MiddleButtonBit | LeftButtonBit, 300), 2760);
  EXPECT_EQ(SplitterMove(2760, 0, 300), 2760);
}

}  // namespace
}  // namespace langxing
