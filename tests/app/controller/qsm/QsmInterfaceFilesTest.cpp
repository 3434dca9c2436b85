// Every interface file of the survey screens and the question lists loads on the phone and on the
// tablet, with the outlets its owner reads connected.

#include <gtest/gtest.h>

#include "app/controller/ans/AnsListViewClasses.h"
#include "app/controller/ans/AnsNoResPromptViewController.h"
#include "app/controller/ans/AnsQuesListCell.h"
#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/ans/AnsTabBar.h"
#include "app/controller/ans/AnsTopicTabBar.h"
#include "app/controller/qsm/QsmAllTableViewCell.h"
#include "app/controller/qsm/QsmAllViewController.h"
#include "app/controller/qsm/QsmDescViewController.h"
#include "app/controller/qsm/QsmProcessViewController.h"
#include "app/controller/qsm/QsmReplyView.h"
#include "app/controller/qsm/QsmSubmitResultViewController.h"
#include "app/controller/qsm/QsmViewClasses.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"

namespace qsm_interface_files_test {

class QsmInterfaceFilesTest : public CmnScreenTest {
 protected:
  void TearDown() override {
    pf::Screen::configure(pf::Screen::Profile::Phone);
    CmnScreenTest::TearDown();
  }

  // The screen's file with a fresh screen of the class as owner (its view is not loaded).
  template <typename Screen>
  std::shared_ptr<Screen> ownerOf() {
    auto owner = std::make_shared<Screen>();
    EXPECT_TRUE(ViewUtil::viewFromNib(Screen::kClassName, owner)) << Screen::kClassName;
    return owner;
  }
};

// Faults caught: a tablet file missing or naming an unknown class, outlet or action; an outlet
// left unconnected on one profile.
TEST_F(QsmInterfaceFilesTest, EveryFileLoadsOnBothProfiles) {
  registerQsmViewClasses();
  registerAnsListViewClasses();
  for (const auto profile : {pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet}) {
    pf::Screen::configure(profile);
    SCOPED_TRACE(profile == pf::Screen::Profile::Phone ? "phone" : "tablet");
    EXPECT_TRUE(ownerOf<QsmAllViewController>()->listContainer.lock());
    auto desc = ownerOf<QsmDescViewController>();
    EXPECT_TRUE(desc->scrollView.lock() && desc->enterBtmView.lock() && desc->replySepImageView.lock());
    auto process = ownerOf<QsmProcessViewController>();
    EXPECT_TRUE(process->questionContainer.lock() && process->nextQuesBtn.lock() &&
                process->processLabel.lock());
    auto result = ownerOf<QsmSubmitResultViewController>();
    EXPECT_TRUE(result->bgMidImageView.lock() && result->bgBtmImageView.lock());
    EXPECT_TRUE(ownerOf<AnsNoResPromptViewController>()->promptLabel.lock());

    auto cell = std::dynamic_pointer_cast<QsmAllTableViewCell>(
        ViewUtil::viewFromNibOfClass(QsmAllTableViewCell::kClassName));
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->statusBtn.lock() && cell->discussImageView.lock() && cell->bgMidImageView.lock());
    auto reply =
        std::dynamic_pointer_cast<QsmReplyView>(ViewUtil::viewFromNibOfClass(QsmReplyView::kClassName));
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->bgBtmImageView.lock() && reply->replyInfoLabel.lock());
    auto row =
        std::dynamic_pointer_cast<AnsQuesListCell>(ViewUtil::viewFromNibOfClass(AnsQuesListCell::kClassName));
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->userImgView.lock() && row->answerQtyLabel.lock());
    auto bar = std::dynamic_pointer_cast<AnsTabBar>(ViewUtil::viewFromNibOfClass(AnsTabBar::kClassName));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->items.size(), 3u);
    auto topicBar =
        std::dynamic_pointer_cast<AnsTopicTabBar>(ViewUtil::viewFromNibOfClass(AnsTopicTabBar::kClassName));
    ASSERT_TRUE(topicBar);
    EXPECT_EQ(topicBar->items.size(), 2u);
    EXPECT_TRUE(topicBar->backgroundImageView.lock());
    auto list = std::dynamic_pointer_cast<AnsQuesViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsQuesViewController::kClassName));
    EXPECT_EQ(list->nibName(), ViewUtil::nibNameOfClass(AnsQuesViewController::kClassName));
  }
}

}  // namespace qsm_interface_files_test
