#include "app/controller/blg/BlgForwardEditViewController.h"

#include "app/controller/blg/BlgEditorText.h"
#include "app/model/blg/Blog.h"
#include "app/service/blg/BlgService.h"
#include "app/service/cmn/CommonService.h"
#include "core/util/CommonUtil.h"

BlgForwardEditViewController::BlgForwardEditViewController() = default;
BlgForwardEditViewController::BlgForwardEditViewController(std::string nibName)
    : BlgEditBaseViewController(std::move(nibName)) {}
BlgForwardEditViewController::~BlgForwardEditViewController() = default;

void BlgForwardEditViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  blogService = std::make_shared<BlgService>(self);
  commonService = std::make_shared<CommonService>(self);
}

// The quote is not cut here: the first edit cuts it.
void BlgForwardEditViewController::viewWillAppear(bool animated) {
  BlgEditBaseViewController::viewWillAppear(animated);
  if (!forwardText) return;
  const std::string quoted = kQuotePrefix + *forwardText;
  if (auto view = textView.lock()) view->setText(quoted);
  showRemaining(BlgEditorText::remaining(quoted));
}

void BlgForwardEditViewController::rightBtnPressed() {
  if (hasSent()) return;
  if (auto view = textView.lock()) view->resignFirstResponder();
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(BlgEditorText::kOfflineMessage);
    return;
  }
  std::string content = text();
  if (BlgEditorText::isBlank(content)) content = kDefaultText;
  auto posted = blogService->repostBlog(content, originBlgID, asComment, commonService->getClientType());
  if (posted) finishSending();
}
