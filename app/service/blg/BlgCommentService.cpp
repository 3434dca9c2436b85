#include "app/service/blg/BlgCommentService.h"

BlgCommentService::BlgCommentService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), openCommentService_(std::make_unique<OpenCommentService>(delegate)) {}

std::shared_ptr<Page> BlgCommentService::getCommentsWithBlogID(const std::optional<std::string>& blogId,
                                                               const std::shared_ptr<Page>& page) {
  return openCommentService_->loadComments(blogId, page);
}
