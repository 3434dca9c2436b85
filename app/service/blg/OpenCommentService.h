#pragma once
// The comment operations of the server under "/v1/wb/comment/". Holds no state; every call blocks its
// thread; a failure reaches the delegate on the main queue and the call answers null.

#include <memory>
#include <optional>
#include <string>

#include "app/model/blg/Comment.h"
#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenCommentService : public OpenService {
 public:
  using OpenService::OpenService;
  using Text = std::optional<std::string>;

  // A page of Comment.
  std::shared_ptr<Page> loadComments(const Text& blogId, const std::shared_ptr<Page>& page);
  // asBlog also posts the comment as a blog.
  std::shared_ptr<Comment> comment(const Text& content, const Text& refBlogId, bool asBlog);
};
