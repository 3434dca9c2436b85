#include "app/service/blg/OpenCommentService.h"

#include "app/service/blg/BlogCalls.h"
#include "app/service/cmn/OpenText.h"

using namespace blg_calls;

std::shared_ptr<Page> OpenCommentService::loadComments(const Text& blogId,
                                                       const std::shared_ptr<Page>& page) {
  return blg_calls::page("/v1/wb/comment/loadComments",
                         {{"blogId", openText(blogId)}, {"page", openValue(page)}}, Comment::kClassName,
                         delegate());
}

std::shared_ptr<Comment> OpenCommentService::comment(const Text& content, const Text& refBlogId,
                                                     bool asBlog) {
  return entity<Comment>(
      "/v1/wb/comment/comment",
      {{"content", openText(content)}, {"refBlogId", openText(refBlogId)}, {"asBlog", openValue(asBlog)}},
      delegate());
}
