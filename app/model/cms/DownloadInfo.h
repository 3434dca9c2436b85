#pragma once
// A download of one remote file: where it comes from, where it goes, how far it got and in which state
// it is. The stored form is ScoDownloadInfo; this base carries everything the file downloader needs.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class DownloadInfo : public pf::Object {
  PF_OBJECT(DownloadInfo, pf::Object)

  // The stored codes of downloadState.
  enum State : int {
    kDownloading = 0,
    kPaused = 1,
    kWaiting = 2,
    kFinished = 3,
    kFailed = 4,
    kNotFound = 5,
  };

  // Key of the row: 32 upper-case hexadecimal digits, given by the store on the first save when nil.
  std::optional<std::string> sid;
  std::optional<std::string> downloadUrlStr;
  // The finished file.
  std::optional<std::string> savePath;
  // The partial file while the transfer is under way; a resumed transfer appends to it.
  std::optional<std::string> tempSavePath;
  std::optional<pf::Date> beginTime;
  // Ties the record to its transfer in the download queue: the unit id.
  std::optional<std::string> downloadId;
  int threadId = 0;
  // 0 to 1 of the file received.
  float progress = 0;
  int downloadState = kDownloading;
  unsigned long long downloadedSize = 0;
  // As the server announced it; only ever raised.
  unsigned long long totalSize = 0;
  // The whole file is at savePath.
  bool hasDownloaded = false;

  static void declareProperties(pf::ClassBuilder<DownloadInfo>& b);
};
