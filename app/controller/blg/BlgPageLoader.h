#pragma once
// The paged loading every micro-blog list shares: a refresh asks for page 1, a load-more for the page
// after the last one that arrived. Each call works on its own copy of the page, so a failed load-more
// leaves the page number as it was, and the shared page is never changed while a global queue sends
// it. A refresh supersedes a load-more in flight: the load-more's late answer is dropped.
//
// Calls start on the main thread; the service call runs on a global queue; the answer is applied on
// the main queue.

#include <functional>
#include <memory>

#include "platform/foundation/Value.h"

class Page;

class BlgPageLoader : public std::enable_shared_from_this<BlgPageLoader> {
 public:
  using Fetch = std::function<std::shared_ptr<Page>(const std::shared_ptr<Page>& page)>;
  // Main queue, with the page's rows (never null), only for an answer that is still wanted.
  using Apply = std::function<void(const pf::ArrayPtr& rows)>;
  // Main queue, after every call, answered or not.
  using Done = std::function<void()>;

  BlgPageLoader();

  // The last page that arrived (page 1 of nothing before the first).
  const std::shared_ptr<Page>& currentPage() const { return page_; }
  bool hasNextPage() const;

  void refresh(Fetch fetch, Apply apply, Done done);
  void loadMore(Fetch fetch, Apply apply, Done done);

 private:
  void run(const std::shared_ptr<Page>& request, Fetch fetch, Apply apply, Done done);

  std::shared_ptr<Page> page_;
  // Counts refreshes: an answer asked for before the latest refresh began is stale.
  unsigned generation_ = 0;
};
