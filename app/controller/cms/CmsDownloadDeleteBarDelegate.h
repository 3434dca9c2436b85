#pragma once
// Told by the download manager's delete bar: select all (or none), and delete the marked rows.

class CmsDownloadDeleteBarDelegate {
 public:
  virtual ~CmsDownloadDeleteBarDelegate() = default;
  virtual void leftItemDidSelected(bool selectAll) = 0;
  virtual void rightItemDidSelected() = 0;
};
