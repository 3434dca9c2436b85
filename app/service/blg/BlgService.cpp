#include "app/service/blg/BlgService.h"

#include "app/util/FileUploader.h"
#include "core/open/OpenError.h"
#include "platform/foundation/DispatchQueue.h"

BlgService::BlgService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      openBlogService_(std::make_unique<OpenBlogService>(delegate)),
      openCommentService_(std::make_unique<OpenCommentService>(delegate)),
      commonService_(std::make_unique<CommonService>(delegate)),
      reminderService_(std::make_unique<ReminderService>(delegate)) {}

std::shared_ptr<Page> BlgService::getMyConcernBlogWithPage(const std::shared_ptr<Page>& page) {
  return openBlogService_->loadMyConcernBlogs(std::nullopt, page);
}

std::shared_ptr<Page> BlgService::getMyCollectBlogWithPage(const std::shared_ptr<Page>& page) {
  return openBlogService_->loadMyCollectedBlogs(std::nullopt, page);
}

std::shared_ptr<Page> BlgService::getCorpBlogsWithContent(const Text& content,
                                                          const std::shared_ptr<Page>& page) {
  return openBlogService_->loadCorpBlogs(content, page);
}

std::shared_ptr<Page> BlgService::loadUserBlogsWithUserID(const Text& userId,
                                                          const std::shared_ptr<Page>& page) {
  return openBlogService_->loadUserBlogs(userId, std::nullopt, page);
}

std::shared_ptr<Page> BlgService::getTopicBlogsWithTopicID(const Text& topicId,
                                                           const std::shared_ptr<Page>& page) {
  return openBlogService_->loadTopicBlogs(topicId, std::nullopt, page);
}

std::shared_ptr<Blog> BlgService::getBlogWithBlogID(const Text& blogId) {
  return openBlogService_->get(blogId);
}

std::shared_ptr<Blog> BlgService::postBlog(const std::shared_ptr<Blog>& blog,
                                           const std::optional<pf::Data>& imageData) {
  if (imageData) {
    std::optional<std::string> storedFileId = uploadPicture(*imageData);
    if (!storedFileId) return nullptr;
    if (blog) blog->imgFileId = std::move(storedFileId);
  }
  return openBlogService_->post(blog);
}

// The stored file's id, or nullopt when there is no address or the upload failed.
std::optional<std::string> BlgService::uploadPicture(const pf::Data& imageData) {
  const std::optional<std::string> url = commonService_->getImageUploadUrl();
  if (!url) return std::nullopt;
  const std::shared_ptr<UploadResult> result = FileUploader().uploadFile(*url, imageData);
  if (!result || !result->success() || !result->storedFileId) {
    reportUploadFailure();
    return std::nullopt;
  }
  return result->storedFileId;
}

// The uploader tells nobody; the composer must still learn why its post did not go out.
void BlgService::reportUploadFailure() {
  const std::shared_ptr<ServiceDelegate> listener = delegate();
  if (!listener) return;
  const pf::ErrorPtr error = OpenError::serviceErrorWithMsg(kUploadFailedMessage);
  pf::DispatchQueue::main()->async([listener, error] { listener->onError(error, kPostUri); });
}

std::shared_ptr<Blog> BlgService::repostBlog(const Text& content, const Text& originBlgId, bool asComment,
                                             const Text& clientType) {
  return openBlogService_->repost(content, originBlgId, asComment, clientType);
}

std::shared_ptr<Comment> BlgService::commentBlog(const Text& content, const Text& blogId, bool asBlog) {
  return openCommentService_->comment(content, blogId, asBlog);
}

bool BlgService::collectBlogWithBlogID(const Text& blogId) {
  return openBlogService_->collect(blogId);
}

bool BlgService::cancelCollectBlogWithBlogID(const Text& blogId) {
  return openBlogService_->cancelCollect(blogId);
}

void BlgService::updateBlogReminder() {
  reminderService_->updateMobileAppReminderWithAppCode(kAppCode, 0);
}
