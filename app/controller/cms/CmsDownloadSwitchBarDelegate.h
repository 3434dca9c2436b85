#pragma once
// Told by the download manager's switch bar which list to show.

class CmsDownloadSwitchBarDelegate {
 public:
  virtual ~CmsDownloadSwitchBarDelegate() = default;
  // YES for the downloading units, NO for the downloaded courses.
  virtual void selectedDownloadType(bool downloading) { (void)downloading; }
};
