#pragma once
// The remote call's exchange over the application's HTTP engine: one synchronous HttpRequest per call,
// on the calling thread.

#include "core/open/RemoteTransport.h"

class HttpRemoteTransport : public RemoteTransport {
 public:
  Answer send(const Request& request) override;
};
