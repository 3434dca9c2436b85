#include "app/service/blg/OpenBlogService.h"

#include "app/service/blg/BlogCalls.h"
#include "app/service/cmn/OpenText.h"

using namespace blg_calls;

namespace {

std::shared_ptr<Blog> blogAnswer(const char* uri, Params params,
                                 const std::shared_ptr<ServiceDelegate>& delegate) {
  registerBlogTypes();
  return entity<Blog>(uri, std::move(params), delegate);
}

std::shared_ptr<Page> blogPage(const char* uri, Params params,
                               const std::shared_ptr<ServiceDelegate>& delegate) {
  registerBlogTypes();
  return page(uri, std::move(params), Blog::kClassName, delegate);
}

}  // namespace

std::shared_ptr<Blog> OpenBlogService::get(const Text& blogId) {
  return blogAnswer("/v1/wb/blog/get", {{"blogId", openText(blogId)}}, delegate());
}

std::shared_ptr<Blog> OpenBlogService::post(const std::shared_ptr<Blog>& blog) {
  return blogAnswer("/v1/wb/blog/post", {{"blog", openValue(blog)}}, delegate());
}

std::shared_ptr<Blog> OpenBlogService::repost(const Text& content, const Text& refBlogId, bool asComment,
                                              const Text& clientType) {
  return blogAnswer("/v1/wb/blog/repost",
                    {{"content", openText(content)},
                     {"refBlogId", openText(refBlogId)},
                     {"asComment", openValue(asComment)},
                     {"clientType", openText(clientType)}},
                    delegate());
}

bool OpenBlogService::collect(const Text& blogId) {
  return success("/v1/wb/blog/collect", {{"blogId", openText(blogId)}}, delegate());
}

bool OpenBlogService::cancelCollect(const Text& blogId) {
  return success("/v1/wb/blog/cancelCollect", {{"blogId", openText(blogId)}}, delegate());
}

std::shared_ptr<Page> OpenBlogService::loadMyBlogs(const Text& content, const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadMyBlogs", {{"content", openText(content)}, {"page", openValue(page)}},
                  delegate());
}

std::shared_ptr<Page> OpenBlogService::loadMyConcernBlogs(const Text& content,
                                                          const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadMyConcernBlogs",
                  {{"content", openText(content)}, {"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenBlogService::loadCorpBlogs(const Text& content, const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadCorpBlogs", {{"content", openText(content)}, {"page", openValue(page)}},
                  delegate());
}

std::shared_ptr<Page> OpenBlogService::loadUserBlogs(const Text& userId, const Text& content,
                                                     const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadUserBlogs",
                  {{"userId", openText(userId)}, {"content", openText(content)}, {"page", openValue(page)}},
                  delegate());
}

std::shared_ptr<Page> OpenBlogService::loadRespostBlogs(const Text& blogId, const Text& content,
                                                        const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadRespostBlogs",
                  {{"blogId", openText(blogId)}, {"content", openText(content)}, {"page", openValue(page)}},
                  delegate());
}

std::shared_ptr<Page> OpenBlogService::loadMyCollectedBlogs(const Text& content,
                                                            const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadMyCollectedBlogs",
                  {{"content", openText(content)}, {"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenBlogService::loadTopicBlogs(const Text& topicId, const Text& content,
                                                      const std::shared_ptr<Page>& page) {
  return blogPage("/v1/wb/blog/loadTopicBlogs",
                  {{"topicId", openText(topicId)}, {"content", openText(content)}, {"page", openValue(page)}},
                  delegate());
}

long long OpenBlogService::reminder() {
  return scalar("/v1/wb/blog/reminder", {}, "q", delegate()).longLongValue();
}
