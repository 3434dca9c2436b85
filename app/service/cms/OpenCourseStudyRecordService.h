#pragma once
// The user's course records by period, page by page. One blocking remote call; a failure answers
// null and reaches the delegate with the path.

#include <memory>
#include <optional>

#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"
#include "platform/foundation/Value.h"

class OpenCourseStudyRecordService : public OpenService {
 public:
  static constexpr char kGetCourseStudyRecordByTimePath[] =
      "/v1/els/coursestudyrecord/getCourseStudyRecordByTime";

  using OpenService::OpenService;

  // A page of the class of the page handed in; its rows are CourseStudyRecord.
  std::shared_ptr<Page> getCourseStudyRecordByTime(const std::optional<pf::Date>& beginDate,
                                                   const std::optional<pf::Date>& endDate,
                                                   const std::shared_ptr<Page>& page);
};
