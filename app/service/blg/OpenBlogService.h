#pragma once
// The post operations of the server under "/v1/wb/blog/". Holds no state; every call blocks its
// thread. A nil argument is sent as "null"; a failure reaches the delegate on the main queue and the
// call answers null or false. A refused toggle (collecting a post already collected, ...) names the
// state in the first error record: "wb.blog.blogCollected", "wb.blog.blogCancelCollected".

#include <memory>
#include <optional>
#include <string>

#include "app/model/blg/Blog.h"
#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenBlogService : public OpenService {
 public:
  using OpenService::OpenService;
  using Text = std::optional<std::string>;

  std::shared_ptr<Blog> get(const Text& blogId);
  std::shared_ptr<Blog> post(const std::shared_ptr<Blog>& blog);
  std::shared_ptr<Blog> repost(const Text& content, const Text& refBlogId, bool asComment,
                               const Text& clientType);
  bool collect(const Text& blogId);
  bool cancelCollect(const Text& blogId);
  // Pages of Blog; content filters the posts by their text.
  std::shared_ptr<Page> loadMyBlogs(const Text& content, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadMyConcernBlogs(const Text& content, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadCorpBlogs(const Text& content, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadUserBlogs(const Text& userId, const Text& content,
                                      const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadRespostBlogs(const Text& blogId, const Text& content,
                                         const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadMyCollectedBlogs(const Text& content, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadTopicBlogs(const Text& topicId, const Text& content,
                                       const std::shared_ptr<Page>& page);
  // The count behind the module's badge; 0 when the call failed.
  long long reminder();
};
