#pragma once
// A service delegate that keeps every failure it hears of, and on which thread it heard it.

#include <memory>
#include <string>
#include <vector>

#include "core/open/ServiceDelegate.h"
#include "platform/foundation/RunLoop.h"

class ServiceErrorRecorder : public ServiceDelegate {
 public:
  struct Report {
    pf::ErrorPtr error;
    std::string requestUri;
    bool onMainThread = false;
  };

  // Reports outlive the delegate when the test keeps this list.
  explicit ServiceErrorRecorder(
      std::shared_ptr<std::vector<Report>> reports = std::make_shared<std::vector<Report>>())
      : reports(std::move(reports)) {}

  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override {
    reports->push_back(Report{error, requestUri, pf::RunLoop::isMainThread()});
  }

  std::shared_ptr<std::vector<Report>> reports;
};
