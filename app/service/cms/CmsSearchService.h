#pragma once
// The catalogue search history of the current user: the texts he searched for, newest first, at most
// ten. Searching a text again moves it to the top; a new text beyond the tenth pushes out the oldest.
// Histories of different users on one device are kept apart.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cms/CmsSearchInfo.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"

class CmsSearchService : public BaseService {
 public:
  static constexpr std::size_t kHistoryLimit = 10;

  explicit CmsSearchService(std::weak_ptr<ServiceDelegate> delegate = {});

  // The current user's searches, newest first; empty when nobody is signed in.
  std::vector<std::shared_ptr<CmsSearchInfo>> findAllCourseSearchInfo();
  // Remembers a search of the current user; false when the store refused the write, and also
  // without a signed-in user or without a text, since there is nothing to remember then.
  bool updateCourseSearchTableWithSearchStr(const std::optional<std::string>& searchStr);

 private:
  std::vector<std::shared_ptr<CmsSearchInfo>> historyOf(const std::string& userId);

  const std::unique_ptr<CommonService> commonService_;
};
