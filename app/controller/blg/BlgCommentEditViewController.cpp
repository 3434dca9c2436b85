#include "app/controller/blg/BlgCommentEditViewController.h"

#include "app/controller/blg/BlgEditorText.h"
#include "app/model/blg/Comment.h"
#include "app/service/blg/BlgService.h"
#include "core/util/CommonUtil.h"
#include "platform/ui/Label.h"

BlgCommentEditViewController::BlgCommentEditViewController() = default;
BlgCommentEditViewController::BlgCommentEditViewController(std::string nibName)
    : BlgEditBaseViewController(std::move(nibName)) {}
BlgCommentEditViewController::~BlgCommentEditViewController() = default;

void BlgCommentEditViewController::initService() {
  blogService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void BlgCommentEditViewController::rightBtnPressed() {
  if (hasSent()) return;
  if (auto view = textView.lock()) view->resignFirstResponder();
  auto counter = numLabel.lock();
  const bool nothingTyped =
      counter && BlgEditorText::counterValue(*counter) >= static_cast<long>(BlgEditorText::kMaxLength);
  const std::string content = text();
  if (nothingTyped || BlgEditorText::isBlank(content)) {
    showErrorInfoWithMessage(BlgEditorText::kEmptyMessage);
    return;
  }
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(BlgEditorText::kOfflineMessage);
    return;
  }
  if (blogService->commentBlog(content, blogID, asBlog)) finishSending();
}
