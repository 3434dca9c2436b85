#pragma once
// The HTTP half of a remote call: posts the signed JSON body to "http://<host>/open<path>.html" and
// turns what comes back into the declared answer type, or into an "OpenErrorDomain" error: a failed
// exchange (the HTTP engine's code, records for connection failures and time-outs), a status other than
// 200 or an answer that does not decode (3), errors the server reports under "hasException" (5). The
// login path answers its session id, which must be a non-empty JSON string.
//
// Thread rules: runs on the calling thread and blocks it for the whole exchange. The transport may be
// replaced from any thread; a call keeps the one it started with.

#include <memory>
#include <string>

#include "core/open/ErrorInfo.h"
#include "core/open/RemoteTransport.h"
#include "core/open/ServiceConfiguration.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class RequestUtil {
 public:
  // The decoded answer (nil for a JSON null), or nil with *error set.
  static pf::Value performRemoteMethod(const std::string& requestUri, const pf::Data& postData,
                                       const std::string& returnType, pf::ErrorPtr* error);

  // The HTTP engine unless another transport was installed.
  static std::shared_ptr<RemoteTransport> transport();
  // nullptr goes back to the HTTP engine.
  static void setTransport(std::shared_ptr<RemoteTransport> transport);

 private:
  static RemoteTransport::Request createRequest(const std::string& requestUri,
                                                const ServiceConfiguration& configuration,
                                                const pf::Data& postData);
  static pf::ErrorPtr parseOpenErrorFromRequestError(const pf::Error& requestError);
  static pf::ErrorPtr statusCodeError(const RemoteTransport::Answer& answer);
  static bool hasException(const RemoteTransport::Answer& answer);
  static pf::Value loginAnswer(const pf::Data& body, const ServiceConfiguration& configuration,
                               pf::ErrorPtr* error);
  static pf::ErrorPtr serverError(const pf::Data& body);
  static void customOpenErrorHandler(ErrorInfo& errorInfo);
};
