#pragma once
// The rows the course detail's study and download tabs share: the course's information row first,
// then one row per unit, 112 and 60 points high (scaled to the screen's height on the tablet).

#include <memory>
#include <optional>

namespace pf {
class TableView;
class TableViewCell;
}  // namespace pf
class CourseViewInfo;
class ScoViewInfo;

class CmsUnitRows {
 public:
  static long numberOfRows(const CourseViewInfo* course);
  // The unit of a row after the first, or null (the information row, or past the units).
  static std::shared_ptr<ScoViewInfo> unitAtRow(const CourseViewInfo* course, long row);
  // The information row's cell, filled from the course when there is one.
  static std::shared_ptr<pf::TableViewCell> infoCell(pf::TableView& tableView, const CourseViewInfo* course);
  static double heightOfRow(long row);
};
