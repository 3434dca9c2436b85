// The bars at the foot of the blog detail and the topic detail, pushed with the tab bar hidden, on
// the phone and the tablet: they lie on the window's bottom edge, neither under the hidden tab bar's
// strip nor below the screen.

#include <gtest/gtest.h>

#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/TopicDetailTableViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Blog.h"
#include "platform/ui/TabBar.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"

namespace blg_bottom_bar_test {

class BlgBottomBarTest : public BlgDetailJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  BlgBottomBarTest() : BlgDetailJourneyTest(GetParam()) {}

  void expectOnTheBottomEdge(const std::shared_ptr<pf::View>& bar, const std::string& screen) {
    ASSERT_TRUE(bar) << screen;
    const pf::Rect place = inWindow(bar);
    const double bottom = pf::Screen::mainScreen().bounds().height();
    EXPECT_NEAR(place.maxY(), bottom, 0.5) << screen << ": the bar is not on the window's bottom edge";
    EXPECT_GT(place.height(), 20) << screen;
    EXPECT_FALSE(bar->isHidden()) << screen;
  }
};

// Faults caught: a pushed screen keeping the height it had above the tab bar, so its bar sits a tab
// bar's height too high with a blank strip below, or runs off the screen.
TEST_P(BlgBottomBarTest, TheDetailBarsLieOnTheWindowsBottomEdge) {
  openModule();
  ASSERT_TRUE(home()->resourceArr && !home()->resourceArr->empty());
  auto detail = openDetail(*home()->resourceArr->front()->blogId);
  loop->runUntil(pf::Clock::now() + 1);
  pf::HeadlessHost host(window);
  host.render();
  keepSnapshot(host, "blg_detail" + suffix());
  expectOnTheBottomEdge(detail->actionBar.lock(), "blog detail");

  auto topic = makeScreen<TopicDetailViewController>();
  topic->topicID = std::string("WT-001");
  topic->topicName = std::string("新员工培训");
  push(topic);
  waitForList(*topic->detailTableViewCon.lock());
  host.render();
  keepSnapshot(host, "blg_topic_detail" + suffix());
  expectOnTheBottomEdge(topic->actionBar.lock(), "topic detail");
}

INSTANTIATE_TEST_SUITE_P(Profiles, BlgBottomBarTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace blg_bottom_bar_test
