#include "app/service/cms/CmsSearchService.h"

CmsSearchService::CmsSearchService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), commonService_(std::make_unique<CommonService>(delegate)) {}

std::vector<std::shared_ptr<CmsSearchInfo>> CmsSearchService::findAllCourseSearchInfo() {
  const std::optional<std::string> userId = commonService_->getCurrentUserId();
  if (!userId) return {};
  return historyOf(*userId);
}

bool CmsSearchService::updateCourseSearchTableWithSearchStr(const std::optional<std::string>& searchStr) {
  const std::optional<std::string> userId = commonService_->getCurrentUserId();
  if (!userId || !searchStr || searchStr->empty()) return false;
  const pf::Value found = dbHelper->queryForObject(
      CmsSearchInfo::kClassName, "SELECT * FROM cms_search_info WHERE title = ? and user_id = ?",
      {*searchStr, *userId});
  if (const auto search = found.objectAs<CmsSearchInfo>()) {
    search->lastTime = pf::Date::now();
    return dbHelper->updateObject(search);
  }
  const std::vector<std::shared_ptr<CmsSearchInfo>> history = historyOf(*userId);
  if (history.size() >= kHistoryLimit && history.back()->searchId)
    dbHelper->deleteObject(CmsSearchInfo::kClassName, pf::Value(*history.back()->searchId));
  auto search = std::make_shared<CmsSearchInfo>();
  search->userId = userId;
  search->title = searchStr;
  search->lastTime = pf::Date::now();
  return dbHelper->saveObject(search);
}

std::vector<std::shared_ptr<CmsSearchInfo>> CmsSearchService::historyOf(const std::string& userId) {
  std::vector<std::shared_ptr<CmsSearchInfo>> history;
  for (const pf::Value& row : dbHelper->queryForList(
           CmsSearchInfo::kClassName,
           "SELECT * FROM cms_search_info where user_id = ? ORDER BY last_time DESC", {userId})) {
    if (auto search = row.objectAs<CmsSearchInfo>()) history.push_back(std::move(search));
  }
  return history;
}
