// Selection and removal call the server off the main queue and change the screen only on it; the
// featured courses' carousel and its offline view. Run under TSan to catch a change made from the
// global queue.

#include <gtest/gtest.h>

#include <atomic>

#include "app/controller/cmn/NodataBgView.h"
#include "app/controller/cms/CmsRecommandViewController.h"
#include "app/model/cms/PopularizeResource.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "tests/app/controller/cms/detail/CmsDetailJourneyTest.h"

namespace cms_detail_concurrency_test {

// A study tab that notes the queue every course change comes from.
class QueueNotingStudyTab : public CmsStudyViewController {
 public:
  void setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) override {
    if (!pf::DispatchQueue::main()->isCurrent()) offMain.fetch_add(1);
    ++changes;
    CmsStudyViewController::setCourseViewInfo(std::move(info));
  }
  std::atomic<int> offMain{0};
  int changes = 0;
};

}  // namespace cms_detail_concurrency_test

using namespace cms_detail_concurrency_test;

class CmsDetailConcurrencyTest : public CmsDetailJourneyTest {};

// Faults caught: the selection's answer stored from the global queue; the removal blocking the main
// queue on the server or changing the course from another queue; a nil answer dropping the course.
TEST_F(CmsDetailConcurrencyTest, SelectionAndRemovalChangeTheTabOnlyOnTheMainQueue) {
  auto tab = std::make_shared<QueueNotingStudyTab>();
  root->pushViewController(tab, false);
  settleDetail(0.3);
  tab->setCourseViewInfo(courseNamed("CRS-002"));
  const auto course = tab->courseViewInfo();
  tab->rightBtnPressed();
  EXPECT_TRUE(tab->isRequestingEditSelectingCourse);
  EXPECT_EQ(tab->courseViewInfo(), course) << "nothing changes before the answer comes back to main";
  loop->runUntilTrue([&] { return tab->courseHasSelected; }, 20);
  EXPECT_TRUE(tab->courseHasSelected);
  settleDetail(0.5);
  tab->isRequestingEditSelectingCourse = false;  // the shell's relay, absent here
  alertAnswer = 0;
  tab->rightBtnPressed();
  loop->runUntilTrue([&] { return !tab->courseHasSelected; }, 20);
  settleDetail(0.5);
  EXPECT_FALSE(tab->courseHasSelected);
  EXPECT_EQ(tab->offMain.load(), 0);
  EXPECT_GE(tab->changes, 3);

  auto orphan = std::make_shared<CourseViewInfo>();
  tab->isRequestingEditSelectingCourse = false;
  tab->setCourseViewInfo(orphan);
  tab->rightBtnPressed();
  loop->runUntilTrue([&] { return tab->progressHUD->alpha() < 0.05; }, 20);
  settleDetail(0.5);
  EXPECT_EQ(tab->courseViewInfo(), orphan) << "a course without id stays as it was";
}

// Faults caught: a page control that does not follow the carousel; a request sent while offline
// instead of the no-data view.
TEST_F(CmsDetailConcurrencyTest, TheFeaturedCarouselFollowsItsPagesAndShowsNoDataOffline) {
  auto featured = std::dynamic_pointer_cast<CmsRecommandViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsRecommandViewController::kClassName));
  ASSERT_TRUE(featured);
  root->pushViewController(featured, false);
  loop->runUntilTrue([&] { return !featured->resourceArr.empty(); }, 20);
  settleDetail();
  ASSERT_GE(featured->resourceArr.size(), 2u);
  auto scroll = featured->scrollView.lock();
  scroll->setContentOffset({scroll->bounds().width() * 1.2, 0});
  EXPECT_EQ(featured->pageControl.lock()->currentPage(), 1);
  EXPECT_TRUE(featured->nodataBgView->isHidden());

  featured->pressedBtnWithTag(0);
  loop->runUntilTrue([&] { return root->topViewController() != featured; }, 20);
  settleDetail();
  auto opened = std::dynamic_pointer_cast<CmsDetailViewController>(root->topViewController());
  ASSERT_TRUE(opened) << "a page's button opens its course";
  EXPECT_EQ(opened->courseViewInfo()->id, featured->resourceArr.front()->courseId);
  root->popViewControllerAnimated(false);
  settleDetail(0.5);

  root->popViewControllerAnimated(false);
  setOnline(false);
  auto offline = std::dynamic_pointer_cast<CmsRecommandViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsRecommandViewController::kClassName));
  const size_t calls = callsTo(CmsRecommandViewController::kPromotionsPath);
  root->pushViewController(offline, false);
  settleDetail();
  EXPECT_FALSE(offline->nodataBgView->isHidden());
  EXPECT_EQ(callsTo(CmsRecommandViewController::kPromotionsPath), calls);
  EXPECT_TRUE(offline->pageControl.lock()->isHidden());
}
