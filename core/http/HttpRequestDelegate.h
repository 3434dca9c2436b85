#pragma once
// Told of a request's events, on the main thread. Every operation is optional: the default bodies do
// nothing. The engine has to know before an event whether a few operations exist — received data then
// skips the request's own storage, a redirect or a credential question waits for the delegate's answer —
// so a delegate that implements one of those also answers true from implements() for it.

#include <memory>

#include "platform/foundation/Value.h"
#include "platform/net/Url.h"

class HttpRequest;

class HttpRequestDelegate {
 public:
  enum class Optional { WillRedirect, DidReceiveData, AuthenticationNeeded, ProxyAuthenticationNeeded };

  virtual ~HttpRequestDelegate() = default;

  virtual bool implements(Optional operation) const {
    (void)operation;
    return false;
  }

  virtual void requestStarted(const std::shared_ptr<HttpRequest>& request) { (void)request; }
  virtual void request(const std::shared_ptr<HttpRequest>& request,
                       const pf::Dictionary& didReceiveResponseHeaders) {
    (void)request;
    (void)didReceiveResponseHeaders;
  }
  // The request waits until the delegate calls its redirectToURL.
  virtual void request(const std::shared_ptr<HttpRequest>& request, const pf::Url& willRedirectToURL) {
    (void)request;
    (void)willRedirectToURL;
  }
  virtual void requestFinished(const std::shared_ptr<HttpRequest>& request) { (void)request; }
  virtual void requestFailed(const std::shared_ptr<HttpRequest>& request) { (void)request; }
  virtual void requestRedirected(const std::shared_ptr<HttpRequest>& request) { (void)request; }
  virtual void request(const std::shared_ptr<HttpRequest>& request, const pf::Data& didReceiveData) {
    (void)request;
    (void)didReceiveData;
  }
  virtual void authenticationNeededForRequest(const std::shared_ptr<HttpRequest>& request) { (void)request; }
  virtual void proxyAuthenticationNeededForRequest(const std::shared_ptr<HttpRequest>& request) {
    (void)request;
  }
};
