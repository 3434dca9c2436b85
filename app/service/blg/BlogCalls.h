#pragma once
// What the micro-blog's remote services share: one call answering an entity, a page of entities, a
// success flag, or a scalar, with the element types of micro-blog answers registered just before it
// (registrations are per thread).

#include <memory>
#include <string>

#include "app/model/blg/Blog.h"
#include "app/model/cmn/Page.h"
#include "core/open/ServiceManager.h"

namespace blg_calls {

using Params = ServiceManager::ParamDic;

// Topic for topicList of Blog, at every depth (a repost's source carries its topics too).
void registerBlogTypes();

template <typename Entity>
std::shared_ptr<Entity> entity(const char* uri, Params params,
                               const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, Entity::kClassName, delegate)
      .template objectAs<Entity>();
}

// A page whose rows are rowClass objects.
std::shared_ptr<Page> page(const char* uri, Params params, const char* rowClass,
                           const std::shared_ptr<ServiceDelegate>& delegate);

bool success(const char* uri, Params params, const std::shared_ptr<ServiceDelegate>& delegate);

// A call answering one value of a type letter ("c", "q").
pf::Value scalar(const char* uri, Params params, const char* typeLetter,
                 const std::shared_ptr<ServiceDelegate>& delegate);

}  // namespace blg_calls
