#include "platform/net/StreamSchedule.h"

namespace pf {

// Posting happens under the lock so that work leaves in the order it was delivered.

void StreamSchedule::schedule(const std::shared_ptr<RunLoop>& loop, const std::string& mode) {
  std::lock_guard lock(mutex_);
  loop_ = loop;
  mode_ = mode;
  scheduled_ = loop != nullptr;
  if (!scheduled_) return;
  for (auto& task : waiting_) loop->post(std::move(task), mode_);
  waiting_.clear();
}

void StreamSchedule::unschedule() {
  std::lock_guard lock(mutex_);
  scheduled_ = false;
  loop_.reset();
}

bool StreamSchedule::isScheduled() const {
  std::lock_guard lock(mutex_);
  return scheduled_;
}

void StreamSchedule::deliver(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  std::shared_ptr<RunLoop> loop = scheduled_ ? loop_.lock() : nullptr;
  if (loop) {
    loop->post(std::move(task), mode_);
  } else {
    waiting_.push_back(std::move(task));
  }
}

}  // namespace pf
