#include "app/service/cmn/SystemLogRecordSevice.h"

#include "app/service/cmn/CommonService.h"
#include "core/util/CommonUtil.h"
#include "platform/runtime/Class.h"

namespace {

bool isRecordedScreen(const pf::Object& object) {
  for (const char* base : SystemLogRecordSevice::kScreenBases) {
    const pf::Class* cls = pf::ClassRegistry::find(base);
    if (cls && object.isKindOf(*cls)) return true;
  }
  return false;
}

}  // namespace

SystemLogRecordSevice& SystemLogRecordSevice::defaultLogServer() {
  static SystemLogRecordSevice instance;
  return instance;
}

void SystemLogRecordSevice::takeALogForViewController(const pf::ObjectPtr& viewController) {
  if (!viewController || !isRecordedScreen(*viewController)) return;
  auto record = std::make_shared<ViewLogRecord>();
  const pf::Value viewName = viewController->valueForKey("viewName");
  if (const std::string* name = viewName.string()) record->viewName = *name;
  record->recordTime = CommonUtil::javaTimeMillsNumberSince1970WithDate(pf::Date::now());
  if (const std::shared_ptr<User> user = CommonService().getCurrentUser()) {
    record->userID = user->userId;
    record->userName = user->userName;
    record->corpID = user->corpCode;
    record->corpName = user->corpName;
  }
  defaultLogServer().keep(std::move(record));
}

std::vector<std::shared_ptr<ViewLogRecord>> SystemLogRecordSevice::records() const {
  std::lock_guard lock(mutex_);
  return {records_.begin(), records_.end()};
}

void SystemLogRecordSevice::clearRecords() {
  std::lock_guard lock(mutex_);
  records_.clear();
}

void SystemLogRecordSevice::keep(std::shared_ptr<ViewLogRecord> record) {
  std::lock_guard lock(mutex_);
  records_.push_back(std::move(record));
  if (records_.size() > kRecordsKept) records_.pop_front();
}
