#include "app/model/cms/CourseSco.h"

namespace {

int integerShowOrder(const std::optional<std::string>& showOrder) {
  return showOrder ? pf::Value(*showOrder).intValue() : 0;
}

}  // namespace

int CourseSco::compare(const CourseSco& other) const {
  const int mine = integerShowOrder(showOrder);
  const int theirs = integerShowOrder(other.showOrder);
  if (mine < theirs) return -1;
  return mine > theirs ? 1 : 0;
}

void CourseSco::declareProperties(pf::ClassBuilder<CourseSco>& b) {
  PF_PROPERTY(b, courseId);
  PF_PROPERTY(b, scoId);
  PF_PROPERTY(b, scoName);
  PF_PROPERTY(b, isChapter);
  PF_PROPERTY(b, showOrder);
  PF_PROPERTY(b, videoUrl);
  PF_PROPERTY(b, lectureUrl);
  PF_PROPERTY(b, lecture);
  PF_PROPERTY(b, minStudyTime);
}
