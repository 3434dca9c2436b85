#include "core/http/BandwidthMeter.h"

#include <numeric>

#include "platform/foundation/Value.h"

namespace {

double now() {
  return pf::Date::now().seconds;
}

}  // namespace

BandwidthMeter& BandwidthMeter::shared() {
  static BandwidthMeter meter;
  return meter;
}

bool BandwidthMeter::isBandwidthThrottled() {
  std::lock_guard lock(throttleGuard_);
  return throttledLocked();
}

bool BandwidthMeter::throttledLocked() const {
  return throttled_ || (!wwanOnly_ && limit_ > 0);
}

unsigned long BandwidthMeter::maxBandwidthPerSecond() {
  std::lock_guard lock(throttleGuard_);
  return limit_;
}

void BandwidthMeter::setMaxBandwidthPerSecond(unsigned long bytes) {
  std::lock_guard lock(throttleGuard_);
  limit_ = bytes;
}

void BandwidthMeter::setWWANOnly(bool wwanOnly, unsigned long limit) {
  std::lock_guard lock(throttleGuard_);
  wwanOnly_ = wwanOnly;
  limit_ = limit;
  if (!wwanOnly) throttled_ = false;
}

void BandwidthMeter::setThrottledNow(bool throttled) {
  std::lock_guard lock(throttleGuard_);
  throttled_ = throttled;
}

void BandwidthMeter::incrementBandwidthUsedInLastSecond(unsigned long bytes) {
  std::lock_guard lock(throttleGuard_);
  bytesInWindow_ += bytes;
}

void BandwidthMeter::recordBandwidthUsage() {
  std::lock_guard lock(throttleGuard_);
  recordLocked(now());
}

void BandwidthMeter::recordLocked(double at) {
  if (bytesInWindow_ == 0) {
    usageHistory_.clear();
  } else {
    // Windows that passed without a record were idle seconds: they push the oldest entries out.
    double untilWindowEnd = measurementWindowEnd_ ? *measurementWindowEnd_ - at : 0;
    while ((untilWindowEnd < 0 || usageHistory_.size() > 5) && !usageHistory_.empty()) {
      usageHistory_.pop_front();
      untilWindowEnd += 1;
    }
  }
  usageHistory_.push_back(bytesInWindow_);
  measurementWindowEnd_ = at + 1;
  bytesInWindow_ = 0;
  average_ = std::accumulate(usageHistory_.begin(), usageHistory_.end(), 0ul) / usageHistory_.size();
}

void BandwidthMeter::measureBandwidthUsage() {
  std::lock_guard lock(throttleGuard_);
  measureLocked(now());
}

void BandwidthMeter::measureLocked(double at) {
  if (!measurementWindowEnd_ || *measurementWindowEnd_ < at) recordLocked(at);
  if (throttledLocked() && limit_ > 0 && bytesInWindow_ > limit_) {
    throttleResumeDate_ =
        *measurementWindowEnd_ + static_cast<double>(bytesInWindow_ - limit_) / static_cast<double>(limit_);
  }
}

unsigned long BandwidthMeter::averageBandwidthUsedPerSecond() {
  std::lock_guard lock(throttleGuard_);
  return average_;
}

unsigned long BandwidthMeter::maxUploadReadLength() {
  std::lock_guard lock(throttleGuard_);
  unsigned long toRead = limit_ / 4;
  if (limit_ > 0 && bytesInWindow_ + toRead > limit_)
    toRead = bytesInWindow_ < limit_ ? limit_ - bytesInWindow_ : 0;
  if (toRead == 0 || !measurementWindowEnd_ || *measurementWindowEnd_ < now()) {
    throttleResumeDate_ = measurementWindowEnd_;
  }
  return toRead;
}

std::size_t BandwidthMeter::throttledReadSize(std::size_t size) {
  std::lock_guard lock(throttleGuard_);
  if (limit_ > 0) {
    const long long remaining = static_cast<long long>(limit_) - static_cast<long long>(bytesInWindow_);
    if (remaining < 0) {
      size = 1;
    } else if (static_cast<std::size_t>(remaining / 4) < size) {
      size = static_cast<std::size_t>(remaining / 4);
    }
  }
  return size == 0 ? 1 : size;
}

std::optional<double> BandwidthMeter::throttleResumeDate() {
  std::lock_guard lock(throttleGuard_);
  measureLocked(now());
  return throttleResumeDate_;
}
