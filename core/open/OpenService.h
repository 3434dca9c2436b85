#pragma once
// Base of every remote and local service: it remembers, without owning, the delegate that hears of
// its failures, so a service never keeps its screen alive.
//
// Thread rules: the delegate may be read and replaced from any thread.

#include <memory>
#include <mutex>
#include <string>

#include "core/open/ServiceDelegate.h"

class OpenService {
 public:
  explicit OpenService(std::weak_ptr<ServiceDelegate> delegate = {});
  virtual ~OpenService() = default;
  OpenService(const OpenService&) = delete;
  OpenService& operator=(const OpenService&) = delete;

  // The delegate while it is alive, else null; a call holds on to what this answered until it ends.
  std::shared_ptr<ServiceDelegate> delegate() const;
  void setDelegate(std::weak_ptr<ServiceDelegate> delegate);

 protected:
  // An answer that decoded, but not into what the method answers (a list for one object, or the
  // reverse): the delegate hears of it on the main queue as of an answer that could not be read.
  void reportUnexpectedAnswer(const std::string& requestUri, const std::string& expected) const;

 private:
  mutable std::mutex mutex_;
  std::weak_ptr<ServiceDelegate> delegate_;
};
