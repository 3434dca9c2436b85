#include "app/model/cms/CourseStandard.h"

namespace {

bool isOneOf(const std::optional<std::string>& standard, std::initializer_list<const char*> values) {
  if (!standard) return false;
  for (const char* value : values) {
    if (*standard == value) return true;
  }
  return false;
}

}  // namespace

bool CourseStandard::hasUnitProgress(const std::optional<std::string>& standard) {
  return isOneOf(standard, {kThreeScreen, kTwoScreen});
}

bool CourseStandard::isSingleVideo(const std::optional<std::string>& standard) {
  return isOneOf(standard, {kOneScreen});
}

bool CourseStandard::allowsFreeSeeking(const std::optional<std::string>& standard) {
  return isOneOf(standard, {kOneScreen, kOnlinePackage});
}

bool CourseStandard::isStudiableOnDevice(const std::optional<std::string>& standard) {
  return !isOneOf(standard, {kScorm12, kScorm14, kDownload});
}

const char* CourseStandard::emptyUnitListMessage(const std::optional<std::string>& standard) {
  const bool notForMobile =
      !isStudiableOnDevice(standard) || isOneOf(standard, {kOnlinePackage, kOnlineUrl, kOnlineDoc});
  return notForMobile ? kNotForMobileMessage : kNoUnitsMessage;
}
