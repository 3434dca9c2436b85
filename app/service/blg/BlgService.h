#pragma once
// What the micro-blog screens call for posts: feeds, one post, posting with an optional picture,
// reposts, comments, collections and the module badge. Nothing is stored locally; every operation is
// one synchronous server call (two, with the upload, for a post with a picture).

#include <memory>
#include <optional>
#include <string>

#include "app/model/blg/Blog.h"
#include "app/model/blg/Comment.h"
#include "app/model/cmn/Page.h"
#include "app/service/blg/OpenBlogService.h"
#include "app/service/blg/OpenCommentService.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/ReminderService.h"
#include "platform/foundation/Value.h"

class BlgService : public BaseService {
 public:
  using Text = std::optional<std::string>;

  static constexpr char kAppCode[] = "wb_user";
  // What the delegate hears when a post's picture cannot be uploaded (nothing is posted then).
  static constexpr char kUploadFailedMessage[] = "图片上传失败，微博未发布";
  static constexpr char kPostUri[] = "/v1/wb/blog/post";

  explicit BlgService(std::weak_ptr<ServiceDelegate> delegate = {});

  std::shared_ptr<Page> getMyConcernBlogWithPage(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getMyCollectBlogWithPage(const std::shared_ptr<Page>& page);
  // The company's posts; content is the search text (nil for all).
  std::shared_ptr<Page> getCorpBlogsWithContent(const Text& content, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadUserBlogsWithUserID(const Text& userId, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getTopicBlogsWithTopicID(const Text& topicId, const std::shared_ptr<Page>& page);
  std::shared_ptr<Blog> getBlogWithBlogID(const Text& blogId);

  // Posts the blog; with picture data (JPEG) the picture is uploaded first and the post refers to it by
  // imgFileId. A picture that cannot be uploaded posts nothing: null, and the delegate hears
  // kUploadFailedMessage on the main queue (a missing upload address reports its own failure).
  std::shared_ptr<Blog> postBlog(const std::shared_ptr<Blog>& blog, const std::optional<pf::Data>& imageData);
  std::shared_ptr<Blog> repostBlog(const Text& content, const Text& originBlgId, bool asComment,
                                   const Text& clientType);
  std::shared_ptr<Comment> commentBlog(const Text& content, const Text& blogId, bool asBlog);
  bool collectBlogWithBlogID(const Text& blogId);
  bool cancelCollectBlogWithBlogID(const Text& blogId);
  // The list of all posts was seen: the module badge goes to 0.
  void updateBlogReminder();

 private:
  std::optional<std::string> uploadPicture(const pf::Data& imageData);
  void reportUploadFailure();

  std::unique_ptr<OpenBlogService> openBlogService_;
  std::unique_ptr<OpenCommentService> openCommentService_;
  std::unique_ptr<CommonService> commonService_;
  std::unique_ptr<ReminderService> reminderService_;
};
