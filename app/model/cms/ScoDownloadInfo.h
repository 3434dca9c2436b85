#pragma once
// One learner's download of one course unit (table sco_download_info, key sid). Several learners on
// one device may hold rows for the same unit; they then share its files, so a file is deleted only
// when no other row refers to it. Two records are equal when they are of the same unit, whoever owns
// them: list membership and removal in the download service go by the unit.

#include <memory>
#include <optional>
#include <string>

#include "app/model/cms/DownloadInfo.h"

// The one table of download records; every statement of the download service names it through this.
inline constexpr char downloadTableName[] = "sco_download_info";

class ScoDownloadInfo : public DownloadInfo {
  PF_OBJECT(ScoDownloadInfo, DownloadInfo)

  std::optional<std::string> scoId;
  std::optional<std::string> courseId;
  std::optional<std::string> userId;

  // The other object is a ScoDownloadInfo of the same unit.
  bool isEqual(const std::shared_ptr<const pf::Object>& other) const;
  // Finished by the transfer or copied as finished: either mark counts.
  bool isComplete() const { return hasDownloaded || downloadState == kFinished; }

  static void declareProperties(pf::ClassBuilder<ScoDownloadInfo>& b);
};
