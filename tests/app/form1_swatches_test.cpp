// SPDX-License-Identifier: GPL-3.0-or-later
// The colour swatches: pressed with the mouse, they set the reader page's background colour and
// render the current article again; released, they show their own colour.
#include <QColor>

#include "app/picture_box.hpp"
#include "app/swatch_widgets.hpp"
#include "tests/app/reader_harness.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/window_controls.hpp"

namespace {

class SwatchTest : public ReaderHarness {
 protected:
  SwatchTest() { form.SelectTab(u"设置"); }

  // Every swatch's colour, by name.
  std::map<std::string, QColor> Colours() const {
    std::map<std::string, QColor> colours;
    for (const SwatchWidget& widget : SwatchWidgets)
      colours[std::string(widget.name)] = controls.Swatch(widget.name)->BackColor();
    return colours;
  }

  PictureBox* Swatch(const char* name) const { return controls.Swatch(name); }
};

struct SwatchCase {
  const char* name;
  QColor own;
  QColor pressed;
  std::u16string text;
};

TEST_F(SwatchTest, PressWritesTheColourTextAndDarkensOnlyThatSwatchUntilRelease) {
  const std::vector<SwatchCase> cases = {
      {"Picture9", QColor(255, 255, 255), QColor(0, 0, 0), u"FFFFFF"},
      {"Picture10", QColor(224, 224, 224), QColor(0, 0, 0), u"E0E0E0"},
      {"Picture3", QColor(192, 192, 192), QColor(0, 0, 0), u"C0C0C0"},
      {"Picture4", QColor(128, 128, 128), QColor(3, 0, 0), u"808080"},
      {"Picture8", QColor(234, 224, 206), QColor(0, 0, 0), u"#CDC8B1"},
      {"Picture5", QColor(200, 177, 141), QColor(0, 0, 0), u"#CDBA96"},
      {"Picture6", QColor(192, 192, 255), QColor(0, 0, 0), u"#B0C4DE"},
      {"Picture7", QColor(0, 128, 0), QColor(0, 0, 0), u"#2E8B57"},
  };
  const std::map<std::string, QColor> initial = Colours();
  for (const SwatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    PictureBox* swatch = Swatch(c.name);
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->BackColor(), c.own);
    statusTexts.clear();

    QTest::mousePress(swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form.CurrentReaderSettings().backgroundColour, c.text);
    const QColor own = c.own;
    EXPECT_EQ(Form1Access::SavedSwatchColour(form),
              QString::number(own.red() + 256 * own.green() + 65536 * own.blue()).toStdU16String());
    std::map<std::string, QColor> whilePressed = initial;
    whilePressed[c.name] = c.pressed;
    EXPECT_EQ(Colours(), whilePressed);
    // The press renders the article again; the swatch stays dark after the render has ended,
    // until the release.
    ASSERT_TRUE(RenderEnds());
    EXPECT_EQ(statusTexts, RenderStatusTexts);
    EXPECT_EQ(Colours(), whilePressed);

    QTest::mouseRelease(swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Colours(), initial);
  }
}

TEST_F(SwatchTest, ChosenColourBecomesTheReaderPageBackground) {
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(NewsEntry)); }));
  // Before a colour is chosen the article stands on the view's own white, not on black.
  EXPECT_EQ(BodyStyle(), QStringLiteral("font-size:14px;"));
  EXPECT_EQ(BodyColour(), QStringLiteral("rgba(0, 0, 0, 0)"));
  ASSERT_TRUE(ShowsWrite([&] { QTest::mousePress(Swatch("Picture3"), Qt::LeftButton); }));
  QTest::mouseRelease(Swatch("Picture3"), Qt::LeftButton);
  EXPECT_EQ(BodyStyle(), QStringLiteral("background-color: C0C0C0;font-size:14px;"));
  EXPECT_EQ(BodyColour(), QStringLiteral("rgb(192, 192, 192)"));
  EXPECT_TRUE(Script(QStringLiteral("document.body.innerText"))
                  .contains(QStringLiteral("北京地铁四号线今天上午正式开通试运营")));

  ASSERT_TRUE(ShowsWrite([&] { QTest::mousePress(Swatch("Picture7"), Qt::LeftButton); }));
  QTest::mouseRelease(Swatch("Picture7"), Qt::LeftButton);
  EXPECT_EQ(BodyStyle(), QStringLiteral("background-color: #2E8B57;font-size:14px;"));
  EXPECT_EQ(BodyColour(), QStringLiteral("rgb(46, 139, 87)"));
  EXPECT_EQ(form.ArticleAddress(), NewsUrl);
}

TEST_F(SwatchTest, SpaceOrEnterOnAFocusedSwatchPressesAndReleasesIt) {
  struct KeyCase {
    const char* name;
    Qt::Key key;
    std::u16string text;
    QString background;
  };
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(NewsEntry)); }));
  const std::map<std::string, QColor> initial = Colours();
  for (const KeyCase& c : {KeyCase{"Picture6", Qt::Key_Space, u"#B0C4DE", "rgb(176, 196, 222)"},
                           KeyCase{"Picture9", Qt::Key_Return, u"FFFFFF", "rgb(255, 255, 255)"}}) {
    SCOPED_TRACE(c.name);
    PictureBox* swatch = Swatch(c.name);
    swatch->setFocus();
    ASSERT_TRUE(swatch->hasFocus() || !form.isActiveWindow());
    statusTexts.clear();
    ASSERT_TRUE(ShowsWrite([&] { QTest::keyClick(swatch, c.key); }));
    EXPECT_EQ(form.CurrentReaderSettings().backgroundColour, c.text);
    EXPECT_EQ(statusTexts, RenderStatusTexts);
    EXPECT_EQ(BodyColour(), c.background);
    EXPECT_EQ(Colours(), initial);  // released again
  }
}

TEST_F(SwatchTest, PressBeforeAnyArticleShowsTheFailurePage) {
  ASSERT_TRUE(ShowsWrite([&] { QTest::mousePress(Swatch("Picture5"), Qt::LeftButton); }));
  QTest::mouseRelease(Swatch("Picture5"), Qt::LeftButton);
  EXPECT_TRUE(Script(QStringLiteral("document.body.innerText"))
                  .startsWith(QStringLiteral("抱歉，本文获取失败！可以访问原始页")));
  EXPECT_EQ(Script(QStringLiteral("document.querySelector('a').getAttribute('href')")), QString());
  EXPECT_EQ(form.CurrentReaderSettings().backgroundColour, u"#CDBA96");
  // The failure page is in the colour chosen, as an article would be.
  EXPECT_EQ(BodyColour(), QStringLiteral("rgb(205, 186, 150)"));
}

TEST_F(SwatchTest, SecondButtonPressedOnADarkSwatchStillGivesItsColourBack) {
  PictureBox* swatch = Swatch("Picture10");
  const QColor own = swatch->BackColor();
  // Both buttons go down, one after the other, then come up.
  form.Swatch_MouseDown(swatch);
  form.Swatch_MouseDown(swatch);
  EXPECT_EQ(swatch->BackColor(), QColor(0, 0, 0));
  EXPECT_EQ(form.CurrentReaderSettings().backgroundColour, u"E0E0E0");
  form.Swatch_MouseUp(swatch);
  form.Swatch_MouseUp(swatch);
  EXPECT_EQ(swatch->BackColor(), own);
}

TEST_F(SwatchTest, ReleaseWithoutAPressRestoresTheSwatchsOwnColour) {
  PictureBox* swatch = Swatch("Picture6");
  const QColor own = swatch->BackColor();
  form.Swatch_MouseUp(swatch);
  EXPECT_EQ(swatch->BackColor(), own);
  EXPECT_TRUE(statusTexts.empty());
}

}  // namespace
