// The question table on its own: the true/false question that asks for a reason when "错误" is
// chosen, and the pictures stacked under a question's text.

#include <gtest/gtest.h>

#include "app/controller/ems/BaseQuestionCell.h"
#include "app/controller/ems/EmsQuestionViewController.h"
#include "app/controller/ems/EmsViewClasses.h"
#include "app/model/ems/EmsQuestion.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"
#include "ui/base/BaseUIImageView.h"

namespace {

class EmsQuestionViewTest : public CmnScreenTest {
 protected:
  void SetUp() override {
    CmnScreenTest::SetUp();
    registerEmsViewClasses();
    view = std::make_shared<EmsQuestionViewController>();
    view->view()->setFrame(pf::Rect(0, 0, 320, 400));
    window->addSubview(view->view());
  }
  void TearDown() override {
    view.reset();
    CmnScreenTest::TearDown();
  }
  void show(const std::shared_ptr<EmsQuestion>& question) {
    view->setQuestion(question);
    view->refreshData();
    runUntil(pf::Clock::now() + 0.5);
  }
  std::shared_ptr<EmsQuestionViewController> view;
};

// Faults caught: no reason row for "错误", or one that stays after "正确"; typed reason lost.
TEST_F(EmsQuestionViewTest, AnAscertainQuestionAsksForAReasonOnlyWhenFalse) {
  auto question = std::make_shared<EmsQuestion>();
  question->type = EmsQuestion::kAscertain;
  question->content = "说法正确吗？";
  question->makeTrueFalseItems();
  show(question);
  auto table = view->tableView();
  EXPECT_EQ(table->numberOfRowsInSection(0), 3);
  view->didSelectRowAtIndexPath(*table, pf::IndexPath::forRow(2, 0));
  EXPECT_EQ(table->numberOfRowsInSection(0), 4);
  EXPECT_EQ(view->rowKind(3), EmsQuestionViewController::RowKind::Text);
  question->inputText = "理由";
  view->didSelectRowAtIndexPath(*table, pf::IndexPath::forRow(1, 0));
  EXPECT_EQ(table->numberOfRowsInSection(0), 3);
  EXPECT_FALSE(question->items[1]->selected) << "one choice at a time";
  EXPECT_EQ(question->inputText, "理由");
}

// Faults caught: pictures stacked on each other or not below the text.
TEST_F(EmsQuestionViewTest, ThreePicturesStackUnderTheTitle) {
  auto question = std::make_shared<EmsQuestion>();
  question->type = EmsQuestion::kFill;
  question->content = "看图填空";
  for (int i = 0; i < 3; ++i) {
    auto attachment = std::make_shared<EmsAttachment>();
    attachment->url = "http://127.0.0.1:9/picture" + std::to_string(i) + ".png";
    question->refAttaments.push_back(attachment);
  }
  show(question);
  auto title = std::dynamic_pointer_cast<BaseQuestionCell>(view->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(title);
  ASSERT_EQ(title->imageViews().size(), 3u);
  const double step = BaseQuestionCell::pictureStep();
  const pf::Point origin = view->cellImageOriginDic.at("0");
  for (size_t i = 0; i < 3; ++i) {
    const pf::Rect frame = title->imageViews()[i]->frame();
    EXPECT_DOUBLE_EQ(frame.minX(), origin.x);
    EXPECT_DOUBLE_EQ(frame.minY(), origin.y + step * static_cast<double>(i));
    EXPECT_DOUBLE_EQ(frame.width(), 60);
    EXPECT_DOUBLE_EQ(frame.height(), 60);
  }
  EXPECT_GT(origin.y, 20) << "below the text";
}

}  // namespace
