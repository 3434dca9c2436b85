#pragma once
// An observer of the download service (a download screen). Every operation is optional; the service
// calls them on the main thread. request is the transfer's request, or null where none exists (a
// pause, a removal); scoId names the unit, or is nullopt where the event concerns several.

#include <memory>
#include <optional>
#include <string>

#include "core/http/HttpRequest.h"
#include "platform/foundation/Error.h"

class DownloadDelegate {
 public:
  using Unit = std::optional<std::string>;

  virtual ~DownloadDelegate() = default;

  // Bytes of some transfer arrived.
  virtual void downloadRefreshDownloadedProgress() {}
  // A transfer completed with success.
  virtual void downloadFinishedRequest(const HttpRequest::Ptr& request, const Unit& scoId) {
    (void)request;
    (void)scoId;
  }
  // The answer's head of a transfer arrived.
  virtual void downloadStartedRequest(const HttpRequest::Ptr& request, const Unit& scoId) {
    (void)request;
    (void)scoId;
  }
  virtual void downloadPausedRequest(const HttpRequest::Ptr& request, const Unit& scoId) {
    (void)request;
    (void)scoId;
  }
  // The queue started a transfer, which now waits for its answer.
  virtual void downloadWaitRequest(const HttpRequest::Ptr& request, const Unit& scoId) {
    (void)request;
    (void)scoId;
  }
  // A transfer failed, or the file was not found (404).
  virtual void downloadFailedRequest(const HttpRequest::Ptr& request, const Unit& scoId,
                                     const pf::ErrorPtr& errorInfo) {
    (void)request;
    (void)scoId;
    (void)errorInfo;
  }
  // Downloads were removed: per unit with its id, per course with nullopt. downType is always 0.
  virtual void downloadHasBeenRemovedRequest(const HttpRequest::Ptr& request, const Unit& scoId, int downType,
                                             const pf::ErrorPtr& errorInfo) {
    (void)request;
    (void)scoId;
    (void)downType;
    (void)errorInfo;
  }
};
