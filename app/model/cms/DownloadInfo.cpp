#include "app/model/cms/DownloadInfo.h"

void DownloadInfo::declareProperties(pf::ClassBuilder<DownloadInfo>& b) {
  PF_PROPERTY(b, sid);
  PF_PROPERTY(b, downloadUrlStr);
  PF_PROPERTY(b, savePath);
  PF_PROPERTY(b, tempSavePath);
  PF_PROPERTY(b, beginTime);
  PF_PROPERTY(b, downloadId);
  PF_PROPERTY(b, threadId);
  PF_PROPERTY(b, progress);
  PF_PROPERTY(b, downloadState);
  PF_PROPERTY(b, downloadedSize);
  PF_PROPERTY(b, totalSize);
  PF_PROPERTY(b, hasDownloaded);
}
