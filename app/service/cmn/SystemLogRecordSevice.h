#pragma once
// Hears, once per screen, that a screen derived from the two screen bases has loaded its view, and
// describes it as a view-log record. Records are kept in memory only, the latest kRecordsKept of them,
// for a later upload; nothing is stored or sent.
//
// Threads: any thread; the records are locked.

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "app/model/cmn/ViewLogRecord.h"
#include "platform/runtime/Object.h"

class SystemLogRecordSevice {
 public:
  static constexpr std::size_t kRecordsKept = 200;
  // The screen bases whose screens (subclasses included) are recorded.
  static constexpr const char* kScreenBases[] = {"BaseViewController", "BaseTableViewController"};

  // The one instance of the process.
  static SystemLogRecordSevice& defaultLogServer();
  SystemLogRecordSevice(const SystemLogRecordSevice&) = delete;
  SystemLogRecordSevice& operator=(const SystemLogRecordSevice&) = delete;

  // Records the screen, read by its "viewName"; any other object is ignored.
  static void takeALogForViewController(const pf::ObjectPtr& viewController);

  // The latest records, oldest first.
  std::vector<std::shared_ptr<ViewLogRecord>> records() const;
  void clearRecords();

 private:
  SystemLogRecordSevice() = default;
  void keep(std::shared_ptr<ViewLogRecord> record);

  mutable std::mutex mutex_;
  std::deque<std::shared_ptr<ViewLogRecord>> records_;
};
