// How the micro-blog tabs look on the phone and the tablet: the home feed, the square and the own
// profile, written to the snapshot folder and checked by sampled pixels.

#include <gtest/gtest.h>

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/SearchBlogViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/blg/feeds/BlgFeedJourneyTest.h"
#include "ui/base/BaseUIImageView.h"

namespace blg_feed_snapshot_test {

class BlgFeedSnapshotTest : public BlgFeedJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  BlgFeedSnapshotTest() : BlgFeedJourneyTest(GetParam()) {}

  // Lets the row pictures and faces arrive from the stand-in.
  void letPicturesArrive() {
    for (int i = 0; i < 10; ++i) {
      loop->runUntilTrue([] { return false; }, 0.1);
      loop->runUntil(pf::Clock::now() + 0.1);
    }
  }
  static bool isBackdrop(pf::Pixel pixel) { return pixelNear(pixel, 0xEE, 0xF0, 0xF4, 10) || pixelNear(pixel, 255, 255, 255, 6); }
};

// Faults caught: an interface file that does not load on a profile, the module's bar picture not
// drawn, rows without faces or pictures, a tab bar or buttons that are not drawn.
TEST_P(BlgFeedSnapshotTest, TheFeedTheSquareAndTheProfileShowTheirContent) {
  openModule();
  letPicturesArrive();
  pf::HeadlessHost host(window);
  host.render();
  keepSnapshot(host, "blg_feed" + suffix());
  const pf::Pixel bar = host.pixelAt({pf::Screen::mainScreen().bounds().width() / 2, 25});
  EXPECT_TRUE(pixelNear(bar, 0x3A, 0x3F, 0x58, 30)) << "the module's navigation bar picture";
  auto first = blogRow(*home(), 0);
  ASSERT_TRUE(first);
  host.render();
  const pf::Rect face = inWindow(first->avatarImageView.lock());
  EXPECT_FALSE(isBackdrop(host.pixelAt({face.midX(), face.midY()}))) << "the author's face";
  const pf::Rect text = inWindow(first->contentLabel.lock());
  EXPECT_GT(text.height(), 10);

  const long pictured = rowOfBlog(*home(), "WB-010");
  auto withPicture = blogRow(*home(), pictured);
  letPicturesArrive();
  host.render();
  const pf::Rect picture = inWindow(withPicture->contentImageView.lock());
  EXPECT_FALSE(isBackdrop(host.pixelAt({picture.midX(), picture.midY()}))) << "the blog's picture";

  selectTab(1);
  waitForList(*blgRoot->blgSquareViewController->searchBlgTableViewController.lock());
  letPicturesArrive();
  host.render();
  keepSnapshot(host, "blg_square" + suffix());
  EXPECT_FALSE(blgRoot->blgSquareViewController->leftBtn.lock()->isEnabled()) << "the blogs segment is chosen";

  selectTab(3);
  auto own = blgRoot->blgUserInfoViewController;
  // The counts show once the reload at the tab's appearance has answered and its overlay has gone.
  auto count = own->leftUpLabel.lock();
  ASSERT_TRUE(loop->runUntilTrue([&] { return own->userStatistics && count->text().value_or("") != ""; }, 10))
      << "the own profile's counts";
  letPicturesArrive();
  host.render();
  keepSnapshot(host, "blg_profile" + suffix());
  const pf::Rect countPlace = inWindow(count);
  bool inked = false;
  for (int i = 0; i < 40 && !inked; ++i)
    inked = !isBackdrop(host.pixelAt({countPlace.minX() + countPlace.width() * i / 40, countPlace.midY()}));
  EXPECT_TRUE(inked) << "the count's digit";
  const pf::Rect avatar = inWindow(own->userPic.lock());
  EXPECT_FALSE(isBackdrop(host.pixelAt({avatar.midX(), avatar.midY()}))) << "the user's face";
}

INSTANTIATE_TEST_SUITE_P(Profiles, BlgFeedSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace blg_feed_snapshot_test
