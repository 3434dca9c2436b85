#pragma once
// Told of a request's progress, on the main thread; every operation is optional. The four byte-count
// operations share their first selector part and their argument types, so their names join the labels
// instead of overloading one name.

#include <memory>

class HttpRequest;

class HttpProgressDelegate {
 public:
  virtual ~HttpProgressDelegate() = default;

  // From 0 to 1.
  virtual void setProgress(float progress) { (void)progress; }
  virtual void requestDidReceiveBytes(const std::shared_ptr<HttpRequest>& request, long long bytes) {
    (void)request;
    (void)bytes;
  }
  virtual void requestDidSendBytes(const std::shared_ptr<HttpRequest>& request, long long bytes) {
    (void)request;
    (void)bytes;
  }
  virtual void requestIncrementDownloadSizeBy(const std::shared_ptr<HttpRequest>& request,
                                              long long newLength) {
    (void)request;
    (void)newLength;
  }
  virtual void requestIncrementUploadSizeBy(const std::shared_ptr<HttpRequest>& request,
                                            long long newLength) {
    (void)request;
    (void)newLength;
  }
};
