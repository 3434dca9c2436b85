#include "core/open/HttpRemoteTransport.h"

#include "core/http/HttpRequest.h"
#include "platform/net/Url.h"

RemoteTransport::Answer HttpRemoteTransport::send(const Request& request) {
  // An address the URL parser refuses leaves the request without URL; it then fails with code 5.
  const HttpRequest::Ptr http = HttpRequest::requestWithURL(pf::Url::parse(request.url));
  http->setRequestMethod(request.method);
  http->timeOutSeconds = request.timeoutSeconds;
  for (const auto& [name, value] : request.headers) http->addRequestHeader(name, value);
  http->postBody.set(request.body);
  http->maxResponseDataSize = kMaxAnswerBytes;
  http->startSynchronous();

  Answer answer;
  answer.error = http->error.get();
  answer.statusCode = http->responseStatusCode;
  answer.statusLine = http->responseStatusMessage.get().value_or("");
  for (const auto& [name, value] : http->responseHeaders.get().value_or(pf::Dictionary{})) {
    answer.headers.emplace_back(name, value.description());
  }
  answer.body = http->takeResponseData().value_or(pf::Data{});
  return answer;
}
