// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks on other channels while a headline page is still loading, over and over: whatever
// arrives late, only the page of the last click may reach the list.
#include "tests/faults/fault_window.hpp"

namespace faults {
namespace {

using langxing::testportal::Page;

class SupersededClickTest : public FaultWindowTest {
 protected:
  // Channels whose pages arrive after a delay of their own, set per round.
  void Delay(const Channel& channel, int ms) {
    Page page = *portal.PageFor(channel.url);
    page.delay = std::chrono::milliseconds(ms);
    portal.SetPage(channel.url, page);
  }
};

TEST_F(SupersededClickTest, OnlyTheLastClickedChannelFillsTheList) {
  // The quick channels, each made late by a different amount in each round.
  const std::vector<const Channel*> quick = {&Channels()[0], &Channels()[1], &Channels()[2],
                                             &Channels()[3], &Channels()[4]};
  std::mt19937 random(2010);
  const int rounds = CountFromEnvironment("LANGXING_FAULT_ROUNDS", 30);
  int completed = 0;
  for (int round = 0; round < rounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    int longestDelay = 0;
    for (const Channel* c : quick) {
      const int delay = static_cast<int>(random() % 600);
      Delay(*c, delay);
      longestDelay = std::max(longestDelay, delay);
    }
    // Two to five clicks in a row, each made while the one before it is still loading
    // (or, now and then, just after it has landed); the last decides the list.
    const int chain = 2 + static_cast<int>(random() % 4);
    const Channel* last = nullptr;
    for (int k = 0; k < chain; ++k) {
      last = quick[random() % quick.size()];
      Click(ChannelNode(*last));
      QTest::qWait(static_cast<int>(random() % 150));
    }
    ASSERT_TRUE(WaitForIdle());
    // Everything still in flight has had time to arrive.
    QTest::qWait(longestDelay + 200);
    ASSERT_EQ(ListItems(), EntriesOf(*last)) << last->name;
    // A page that landed before the next click made one run of its own; nothing later.
    const int runs = CompletedRuns();
    EXPECT_GE(runs, completed + 1);
    EXPECT_LE(runs, completed + chain);
    completed = runs;
  }
}

TEST_F(SupersededClickTest, StalledAndOversizedPagesGiveWayToTheNextClick) {
  // A stalled page never answers and an oversized one is still streaming when the next click
  // comes; the click after them must not wait for either.
  const Channel& stalled = Channels()[6];
  const Channel& oversized = Channels()[7];
  const Channel& normal = Channels()[0];
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int before = CompletedRuns();
    Click(ChannelNode(round % 2 == 0 ? stalled : oversized));
    QTest::qWait(50);
    Click(ChannelNode(normal));
    ASSERT_TRUE(WaitForIdle(2500));
    EXPECT_EQ(ListItems(), EntriesOf(normal));
    EXPECT_EQ(CompletedRuns(), before + 1);
  }
}

}  // namespace
}  // namespace faults
