#pragma once
// The paging envelope: sent as the parameter "page" of paged remote calls and answered back with the
// page's rows and the server's total. The element class of rows is registered per call under "rows".
// Pages are numbered from 1; pageSize is at least 1 (a 0 answers no pages rather than dividing by 0).

#include <cstdint>

#include "app/model/cmn/BaseDomain.h"

class Page : public BaseDomain {
  PF_OBJECT(Page, BaseDomain)

  std::uint32_t pageNo = 1;
  std::uint32_t pageSize = 20;
  // Whether the server is to count total: list screens ask for it with page 1 only.
  bool autoCount = true;
  bool autoPaging = true;
  // Absent until an answer fills it.
  pf::ArrayPtr rows;
  long long total = 0;

  std::uint32_t totalPages() const;
  bool hasNextPage() const;
  bool hasPrePage() const;
  std::uint32_t nextPage() const;
  std::uint32_t prePage() const;
  // The 1-based number of the first row of this page.
  std::uint32_t firstInCurrPage() const;

  static void declareProperties(pf::ClassBuilder<Page>& b);
};
