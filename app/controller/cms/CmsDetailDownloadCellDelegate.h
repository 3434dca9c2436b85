#pragma once
// What a unit row of the course download tab asks of the tab: start the unit's download, or open a
// unit already downloading or downloaded.

#include <memory>

class ScoViewInfo;

class CmsDetailDownloadCellDelegate {
 public:
  virtual ~CmsDetailDownloadCellDelegate() = default;
  virtual void startDownloadSco(const std::shared_ptr<ScoViewInfo>& unit) { (void)unit; }
  virtual void hasDownloadedSco(const std::shared_ptr<ScoViewInfo>& unit) { (void)unit; }
};
