#pragma once
// How a service reports a failed call to whoever asked for it (normally the screen that owns the
// service). Remote failures arrive on the main queue after the call has already answered nil.

#include <string>

#include "platform/foundation/Error.h"

class ServiceDelegate {
 public:
  virtual ~ServiceDelegate() = default;

  // Optional: the default ignores the failure. requestUri is the method path of the call that failed.
  virtual void onError(const pf::ErrorPtr& error, const std::string& requestUri) {
    (void)error;
    (void)requestUri;
  }
};
