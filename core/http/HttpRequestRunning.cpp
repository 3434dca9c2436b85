// Running an HttpRequest: starting, the status timer, the response head, redirects and cancelling.

#include "core/http/HttpRequest.h"

void HttpRequest::main() {}

void HttpRequest::cancel() {
  pf::Operation::cancel();
}

void HttpRequest::startSynchronous() {}

void HttpRequest::startAsynchronous() {}

void HttpRequest::clearDelegatesAndCancel() {}

void HttpRequest::startRequest() {}

void HttpRequest::cancelLoad() {}

void HttpRequest::redirectToURL(const pf::Url&) {}

void HttpRequest::markAsFinished() {}
