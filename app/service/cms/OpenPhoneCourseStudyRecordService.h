#pragma once
// The server's side of the study-record sync: the device sends every record it holds and gets back
// the server's records of the user. One blocking remote call; a failure answers null and reaches the
// delegate with the path.

#include "app/model/cms/CourseStudyRecord.h"
#include "core/open/OpenService.h"
#include "platform/foundation/Value.h"

class OpenPhoneCourseStudyRecordService : public OpenService {
 public:
  static constexpr char kSyncPath[] = "/v1/els/phonecoursestudyrecord/sync";

  using OpenService::OpenService;

  // clientRecords: CourseStudyRecord objects, each with its scoStudyRecordList. Answers the server's
  // CourseStudyRecord objects of the user, each with its unit records.
  pf::ArrayPtr sync(const pf::ArrayPtr& clientRecords);
};
