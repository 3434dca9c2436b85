// Credentials, proxies and the download cache as the engine meets them. For now a challenge ends the
// request with code 3, no proxy is used and no cache answers.

#include "core/http/HttpRequest.h"

void HttpRequest::applyAuthorizationHeader() {}

void HttpRequest::attemptToApplyCredentialsAndResume() {
  if (error.get() || isCancelled()) return;
  cancelLoad();
  failWithError(authenticationError());
}

void HttpRequest::attemptToApplyProxyCredentialsAndResume() {
  attemptToApplyCredentialsAndResume();
}

bool HttpRequest::configureProxies() {
  return true;
}

bool HttpRequest::answerFromCacheBeforeSending() {
  return false;
}

bool HttpRequest::answerFromCacheAfterHeaders() {
  return false;
}

bool HttpRequest::answerFromCacheOnFailure() {
  return false;
}

void HttpRequest::storeResponseInCache() {}

void HttpRequest::useDataFromCache() {}
