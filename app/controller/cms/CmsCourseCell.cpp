#include "app/controller/cms/CmsCourseCell.h"

#include "app/model/cms/CourseViewInfo.h"
#include "core/util/NumberString.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

constexpr std::uint32_t kCmsCourseCellMustColour = 0xCC0000;
constexpr std::uint32_t kCmsCourseCellSelectiveColour = 0x00A651;

void cmsCourseCellMoveX(const std::shared_ptr<pf::View>& view, double x) {
  if (!view) return;
  pf::Rect frame = view->frame();
  frame.origin.x = x;
  view->setFrame(frame);
}

}  // namespace

void CmsCourseCell::fillWithCourse(const CourseViewInfo& course) {
  if (auto cover = courseImage.lock()) {
    auto placeholder = pf::Image::named(kPlaceholderImage, pf::Screen::mainScreen().scale());
    const std::optional<pf::Url> url =
        course.coverPath && !course.coverPath->empty() ? pf::Url::parse(*course.coverPath) : std::nullopt;
    if (url) {
      ImageViewWebCache::setImageWithURL(cover, url, placeholder);
    } else {
      ImageViewWebCache::cancelCurrentImageLoad(*cover);
      cover->setImage(placeholder);
    }
  }
  if (auto label = title.lock()) label->setText(course.courseTitle.value_or(""));
  if (auto label = categoryLabel.lock()) label->setText(course.categoryName.value_or(""));
  if (auto label = teacherLabel.lock())
    label->setText(course.teacher && !course.teacher->empty() ? *course.teacher : std::string(kNoTeacher));
  if (auto label = periodLabel.lock())
    label->setText(StringWithFloat(static_cast<float>(course.coursePeriod), 1) + "小时");
  if (auto label = gradeLabel.lock()) label->setText(StringWithFloat(static_cast<float>(course.score), 1) + "学分");
  const std::string type = course.courseStudyType.value_or("");
  if (type == "MUST" || type == "SELECTIVE") {
    const bool must = type == "MUST";
    if (auto label = learningTypeLabel.lock()) label->setText(must ? "必修" : "选修");
    if (auto tag = learningTypeImageView.lock())
      tag->setBackgroundColor(
          ColorExpanded::colorWithRGBHex(must ? kCmsCourseCellMustColour : kCmsCourseCellSelectiveColour));
    setLearningTypeImageViewHidden(false);
  } else {
    setLearningTypeImageViewHidden(true);
  }
}

void CmsCourseCell::setLearningTypeImageViewHidden(bool hidden) {
  auto tag = learningTypeImageView.lock();
  if (tag) tag->setHidden(hidden);
  if (auto label = learningTypeLabel.lock()) label->setHidden(hidden);
  auto caption = categoryTitle.lock();
  if (!tag || !caption) return;
  cmsCourseCellMoveX(caption, hidden ? tag->frame().minX() : tag->frame().maxX() + kTagGap);
  cmsCourseCellMoveX(categoryLabel.lock(), caption->frame().maxX());
  auto teacherCaption = teacherTitle.lock();
  cmsCourseCellMoveX(teacherCaption, caption->frame().minX());
  if (teacherCaption) cmsCourseCellMoveX(teacherLabel.lock(), teacherCaption->frame().maxX());
}
