#pragma once
// A category of the course catalogue; the server sends the whole tree in one answer, children in
// its own order.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"

class Category : public BaseDomain {
  PF_OBJECT(Category, BaseDomain)

  std::optional<std::string> categoryId;
  std::optional<std::string> categoryName;
  std::optional<std::string> parentId;
  std::optional<std::string> idPath;
  std::vector<std::shared_ptr<Category>> childCategories;
  double showOrder = 0;
  // Number of courses in it.
  int objectCount = 0;
  std::optional<std::string> advId;
  std::optional<std::string> sourceCategoryId;
  std::optional<std::string> comments;
  std::optional<std::string> openScope;

  static void declareProperties(pf::ClassBuilder<Category>& b);
};
