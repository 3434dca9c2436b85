#include "app/controller/cms/CmsBaseInfoCell.h"

#include <utility>

#include "app/model/cms/CourseViewInfo.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/text/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

std::shared_ptr<pf::Image> cmsBaseInfoPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

void cmsBaseInfoMoveX(const std::weak_ptr<pf::Label>& weak, double x) {
  auto label = weak.lock();
  if (!label) return;
  pf::Rect frame = label->frame();
  frame.origin.x = x;
  label->setFrame(frame);
}

}  // namespace

void CmsBaseInfoCell::awakeFromNib() {
  DownloadCell::awakeFromNib();
  if (auto type = courseStudyTypeLabel.lock()) {
    type->setLineBreakMode(pf::LineBreakMode::wordWrap);
    type->setNumberOfLines(0);
    type->setFont(pf::Font::systemFont(13));
    type->setText(std::string("选修"));
  }
  if (auto name = courseNameLabel.lock()) name->setText(std::string("企业文化培训"));
  if (auto picture = courseImgView.lock()) picture->setImage(cmsBaseInfoPicture("CMS_ALLC_study_n.png"));
  if (auto credits = studyScoreLabel.lock()) credits->setText(pf::format("学分: %0.1f", 1.5));
  if (auto hours = studyTimeLabel.lock()) hours->setText(pf::format("学时: %0.1f", 2.0));
  if (auto lecturer = lecturerLabel.lock()) lecturer->setText(std::string("讲师：李老师"));
  if (auto condition = graduateConditionLabel.lock()) condition->setText(std::string("毕业测试"));
}

void CmsBaseInfoCell::setCourseStudyType(std::optional<std::string> type) {
  courseStudyType_ = std::move(type);
  auto label = courseStudyTypeLabel.lock();
  if (!label) return;
  const bool selective = courseStudyType_ == std::optional<std::string>("SELECTIVE");
  const bool must = courseStudyType_ == std::optional<std::string>("MUST");
  if (selective || must) {
    label->setText(std::string(selective ? "选修" : "必修"));
    label->setBackgroundColor(ColorExpanded::colorWithHexString(selective ? "0x00A651" : "0xCC0000"));
  }
  const double x = (selective || must) ? label->frame().maxX() + 5 : label->frame().minX();
  cmsBaseInfoMoveX(courseCatagoryLabel, x);
  cmsBaseInfoMoveX(lecturerLabel, x);
  label->setHidden(!(selective || must));
  if (auto badge = courseTypeBgImgView.lock()) badge->setHidden(label->isHidden());
}

std::optional<std::string> CmsBaseInfoCell::graduateConditionText(const std::optional<std::string>& code) {
  static const std::pair<const char*, const char*> kTexts[] = {{"COURSE_COURSE_STUDY", "结业条件：课程学习"},
                                                               {"COURSE_EVALUATE", "结业条件：课程评估"},
                                                               {"COURSE_EXAM", "结业条件：课程考试"}};
  for (const auto& [known, text] : kTexts)
    if (code == std::optional<std::string>(known)) return std::string(text);
  return std::nullopt;
}

// A reused row must not keep the condition of the course it showed before.
void CmsBaseInfoCell::setGraduateCondition(std::optional<std::string> code) {
  graduateCondition_ = std::move(code);
  if (auto label = graduateConditionLabel.lock()) label->setText(graduateConditionText(graduateCondition_).value_or(""));
}

void CmsBaseInfoCell::fillWithCourse(const CourseViewInfo& course, const Formats& formats) {
  if (auto picture = courseImgView.lock()) {
    const auto url = course.coverPath ? pf::Url::parse(*course.coverPath) : std::nullopt;
    if (url) {
      ImageViewWebCache::setImageWithURL(picture, url, cmsBaseInfoPicture(kPlaceholderImage));
    } else {
      ImageViewWebCache::cancelCurrentImageLoad(*picture);
      picture->setImage(cmsBaseInfoPicture(kPlaceholderImage));
    }
  }
  if (auto name = courseNameLabel.lock()) name->setText(course.courseTitle.value_or(""));
  setCourseStudyType(course.courseStudyType);
  if (auto hours = studyTimeLabel.lock()) hours->setText(pf::format(formats.hours, course.coursePeriod));
  if (auto lecturer = lecturerLabel.lock()) {
    const bool none = !course.teacher || course.teacher->empty();
    lecturer->setText(pf::format("讲师：%@", none ? std::string("暂无") : *course.teacher));
  }
  if (auto credits = studyScoreLabel.lock()) credits->setText(pf::format(formats.credits, course.score));
  if (course.selected) {
    if (auto condition = graduateConditionLabel.lock())
      condition->setText(pf::format(kProgressFormat, static_cast<double>(course.studyRate)));
  } else {
    setGraduateCondition(course.stepToGetScore);
  }
  if (auto category = courseCatagoryLabel.lock())
    category->setText(course.categoryName ? pf::format("类别：%@", *course.categoryName) : std::string());
}
