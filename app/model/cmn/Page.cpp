#include "app/model/cmn/Page.h"

std::uint32_t Page::totalPages() const {
  if (pageSize == 0 || total <= 0) return 0;
  const long long size = pageSize;
  return static_cast<std::uint32_t>(total / size + (total % size > 0 ? 1 : 0));
}

bool Page::hasNextPage() const {
  return std::uint64_t{totalPages()} >= std::uint64_t{pageNo} + 1;
}

bool Page::hasPrePage() const {
  return pageNo != 1;
}

std::uint32_t Page::nextPage() const {
  return hasNextPage() ? pageNo + 1 : pageNo;
}

std::uint32_t Page::prePage() const {
  return hasPrePage() && pageNo > 0 ? pageNo - 1 : pageNo;
}

std::uint32_t Page::firstInCurrPage() const {
  return pageNo == 0 ? 1 : (pageNo - 1) * pageSize + 1;
}

void Page::declareProperties(pf::ClassBuilder<Page>& b) {
  PF_PROPERTY(b, pageNo);
  PF_PROPERTY(b, pageSize);
  PF_PROPERTY(b, autoCount);
  PF_PROPERTY(b, autoPaging);
  PF_PROPERTY(b, rows);
  PF_PROPERTY(b, total);
  b.computed("totalPages", "I", [](const Page& p) { return pf::Value(pf::Number(p.totalPages())); });
  b.computed("hasNextPage", "c", [](const Page& p) { return pf::Value(pf::Number(p.hasNextPage())); });
  b.computed("hasPrePage", "c", [](const Page& p) { return pf::Value(pf::Number(p.hasPrePage())); });
  b.computed("nextPage", "I", [](const Page& p) { return pf::Value(pf::Number(p.nextPage())); });
  b.computed("prePage", "I", [](const Page& p) { return pf::Value(pf::Number(p.prePage())); });
  b.computed("firstInCurrPage", "I",
             [](const Page& p) { return pf::Value(pf::Number(p.firstInCurrPage())); });
}
