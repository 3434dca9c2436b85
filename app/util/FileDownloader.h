#pragma once
// The process-wide queue of file transfers. It turns a download record into a resumable request that
// writes to the record's temporary file and ends at its final path, runs at most
// maxConcurrentOperationCount of them at once, and finds and stops transfers by the record's
// downloadId. It keeps no states: every request reports to one delegate (the download service).
//
// One transfer failing does not stop the others. A record whose transfer is already queued or running
// is not queued a second time, so two transfers never write the same temporary file.
//
// Thread rules: call it on the main queue (or while holding it, as DispatchQueue::sync does); the
// transfers run on the HTTP request thread and report on the main thread.

#include <memory>
#include <vector>

#include "app/model/cms/DownloadInfo.h"
#include "app/util/TransferIndex.h"
#include "core/http/HttpProgressDelegate.h"
#include "core/http/HttpRequest.h"
#include "core/http/HttpRequestDelegate.h"
#include "core/http/HttpRequestQueue.h"
#include "platform/foundation/Value.h"

class FileDownloader {
 public:
  static constexpr int kInitialConcurrency = 3;
  // How long stopping a transfer waits for the request thread to let go of its files.
  static constexpr double kStopWaitSeconds = 5;

  static std::shared_ptr<FileDownloader> instance();
  FileDownloader();

  const std::shared_ptr<HttpRequestQueue>& downloadQueue() const { return downloadQueue_; }
  // The delegate and progress delegate of every request started from now on.
  std::weak_ptr<HttpRequestDelegate> downloadDelegete() const { return downloadDelegete_; }
  void setDownloadDelegete(std::weak_ptr<HttpRequestDelegate> delegate) {
    downloadDelegete_ = std::move(delegate);
  }
  // The limit last set here; 0 until then.
  int maxConcurrentOperationCount() const { return maxConcurrentOperationCount_; }
  void setMaxConcurrentOperationCount(int count);

  // Queues one transfer of the record; its userInfo holds "id" = downloadId and the attached entries.
  // Nothing is queued while a transfer of the same downloadId is still under way.
  void startDownloadingResourceWithDownloadInfo(const DownloadInfo& info, const pf::Dictionary& attachedInfo);
  // A transfer of the record's downloadId is queued or running.
  bool isDownloadingResourceWithDownloadInfo(const DownloadInfo& info) const;
  // Stops the record's transfers without further reports; their temporary files stay for a resume.
  void pauseDownloadingResourceWithDownloadInfo(const DownloadInfo& info);
  // Stops the record's transfers like a pause and lets the queue forget them: once this returns, no
  // transfer of the record writes or moves a file any more.
  void removeDownloadingTaskWithDownloadInfo(const DownloadInfo& info);

 private:
  std::vector<HttpRequest::Ptr> requestsOf(const DownloadInfo& info) const;
  // Cancels without reports and waits until the request thread has let go of each request.
  static void stop(const std::vector<HttpRequest::Ptr>& requests);

  const std::shared_ptr<HttpRequestQueue> downloadQueue_;
  // Looking a record up also forgets its finished transfers.
  mutable TransferIndex transfers_;
  std::weak_ptr<HttpRequestDelegate> downloadDelegete_;
  int maxConcurrentOperationCount_ = 0;
};
