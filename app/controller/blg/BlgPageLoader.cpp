#include "app/controller/blg/BlgPageLoader.h"

#include "app/model/cmn/Page.h"
#include "platform/foundation/DispatchQueue.h"

BlgPageLoader::BlgPageLoader() : page_(std::make_shared<Page>()) {}

bool BlgPageLoader::hasNextPage() const { return page_->hasNextPage(); }

void BlgPageLoader::refresh(Fetch fetch, Apply apply, Done done) {
  ++generation_;
  auto request = std::make_shared<Page>();
  request->pageSize = page_->pageSize;
  request->pageNo = 1;
  request->autoCount = true;
  run(request, std::move(fetch), std::move(apply), std::move(done));
}

void BlgPageLoader::loadMore(Fetch fetch, Apply apply, Done done) {
  auto request = std::make_shared<Page>();
  request->pageSize = page_->pageSize;
  request->pageNo = page_->pageNo + 1;
  request->autoCount = false;
  request->total = page_->total;
  run(request, std::move(fetch), std::move(apply), std::move(done));
}

void BlgPageLoader::run(const std::shared_ptr<Page>& request, Fetch fetch, Apply apply, Done done) {
  std::weak_ptr<BlgPageLoader> weak = weak_from_this();
  const unsigned generation = generation_;
  pf::DispatchQueue::global()->async([weak, request, generation, fetch = std::move(fetch),
                                      apply = std::move(apply), done = std::move(done)] {
    auto answer = fetch(request);
    pf::DispatchQueue::main()->async([weak, answer, generation, apply, done] {
      auto self = weak.lock();
      if (self && answer && generation == self->generation_) {
        // The server counts only with page 1: keep the total it gave then.
        if (!answer->autoCount && answer->total == 0) answer->total = self->page_->total;
        self->page_ = answer;
        apply(answer->rows ? answer->rows : std::make_shared<pf::Array>());
      }
      done();
    });
  });
}
