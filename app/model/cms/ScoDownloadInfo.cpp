#include "app/model/cms/ScoDownloadInfo.h"

bool ScoDownloadInfo::isEqual(const std::shared_ptr<const pf::Object>& other) const {
  const auto record = std::dynamic_pointer_cast<const ScoDownloadInfo>(other);
  return record && record->scoId == scoId;
}

void ScoDownloadInfo::declareProperties(pf::ClassBuilder<ScoDownloadInfo>& b) {
  PF_PROPERTY(b, scoId);
  PF_PROPERTY(b, courseId);
  PF_PROPERTY(b, userId);
}
