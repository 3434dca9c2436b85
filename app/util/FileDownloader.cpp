#include "app/util/FileDownloader.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "core/reachability/Reachability.h"
#include "platform/foundation/Log.h"

namespace {

constexpr char kIdKey[] = "id";

bool isOver(const HttpRequest& request) {
  std::lock_guard lock(request.cancelledLock());
  return request.complete || request.isFinished();
}

}  // namespace

std::shared_ptr<FileDownloader> FileDownloader::instance() {
  static const std::shared_ptr<FileDownloader> fileDownloader = std::make_shared<FileDownloader>();
  return fileDownloader;
}

FileDownloader::FileDownloader() : downloadQueue_(std::make_shared<HttpRequestQueue>()) {
  downloadQueue_->reset();
  downloadQueue_->showAccurateProgress = true;
  // A unit that fails (a missing file, a broken connection) must not take the others down with it.
  downloadQueue_->shouldCancelAllRequestsOnFailure = false;
  downloadQueue_->setMaxConcurrentOperationCount(kInitialConcurrency);
  downloadQueue_->go();
}

void FileDownloader::setMaxConcurrentOperationCount(int count) {
  maxConcurrentOperationCount_ = count;
  downloadQueue_->setMaxConcurrentOperationCount(count);
}

void FileDownloader::startDownloadingResourceWithDownloadInfo(const DownloadInfo& info,
                                                              const pf::Dictionary& attachedInfo) {
  if (isDownloadingResourceWithDownloadInfo(info)) return;
  auto request = HttpRequest::requestWithURL(pf::Url::parse(info.downloadUrlStr.value_or("")));
  request->downloadDestinationPath.set(info.savePath);
  request->temporaryFileDownloadPath.set(info.tempSavePath);
  request->showAccurateProgress = true;
  request->allowResumeForFileDownloads = true;
  request->setDownloadProgressDelegate(
      std::dynamic_pointer_cast<HttpProgressDelegate>(downloadDelegete_.lock()));
  request->setDelegate(downloadDelegete_);
  pf::Dictionary userInfo{{kIdKey, info.downloadId ? pf::Value(*info.downloadId) : pf::Value()}};
  for (const auto& [key, value] : attachedInfo) userInfo[key] = value;
  request->userInfo.set(userInfo);
  if (Reachability::reachabilityForInternetConnection()->isReachableViaWiFi())
    request->shouldContinueWhenAppEntersBackground = true;
  downloadQueue_->addOperation(request);
  if (info.downloadId) transfers_.add(*info.downloadId, request);
}

bool FileDownloader::isDownloadingResourceWithDownloadInfo(const DownloadInfo& info) const {
  for (const HttpRequest::Ptr& request : requestsOf(info)) {
    if (!isOver(*request)) return true;
  }
  return false;
}

void FileDownloader::pauseDownloadingResourceWithDownloadInfo(const DownloadInfo& info) {
  stop(requestsOf(info));
}

void FileDownloader::removeDownloadingTaskWithDownloadInfo(const DownloadInfo& info) {
  const std::vector<HttpRequest::Ptr> requests = requestsOf(info);
  stop(requests);
  for (const HttpRequest::Ptr& request : requests) request->markAsFinished();
}

std::vector<HttpRequest::Ptr> FileDownloader::requestsOf(const DownloadInfo& info) const {
  if (!info.downloadId) return {};
  return transfers_.unfinished(*info.downloadId);
}

void FileDownloader::stop(const std::vector<HttpRequest::Ptr>& requests) {
  for (const HttpRequest::Ptr& request : requests) request->clearDelegatesAndCancel();
  // The cancel runs on the request thread; until it has, a chunk may still be written or the finished
  // file moved into place.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kStopWaitSeconds);
  for (const HttpRequest::Ptr& request : requests) {
    while (!isOver(*request)) {
      if (std::chrono::steady_clock::now() > deadline) {
        pf::Log::write("FileDownloader: a transfer did not stop in time");
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
}
