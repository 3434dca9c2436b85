#include "ui/webimage/WebCacheLoad.h"

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"

// The slot's value: one load of one view. The operation is set once the manager has answered, which
// a memory hit outruns: the token is current before the load starts.
struct WebCacheLoad::Token {
  std::shared_ptr<WebImageCombinedOperation> operation;
  bool cancelled = false;
  Apply apply;
  Completion completed;
};

void WebCacheLoad::cancel(const pf::View& view, pf::AssociatedObjects::Key slot) {
  const auto token = pf::AssociatedObjects::get<Token>(view, slot);
  if (!token) return;
  pf::AssociatedObjects::remove(view, slot);
  token->cancelled = true;
  if (token->operation) token->operation->cancel();
}

std::shared_ptr<WebImageCombinedOperation> WebCacheLoad::current(const pf::View& view,
                                                                 pf::AssociatedObjects::Key slot) {
  const auto token = pf::AssociatedObjects::get<Token>(view, slot);
  return token ? token->operation : nullptr;
}

void WebCacheLoad::start(const std::shared_ptr<pf::View>& view, pf::AssociatedObjects::Key slot,
                         const std::optional<pf::Url>& url, int options, WebImageManager::ProgressBlock progress,
                         Apply apply, Completion completed) {
  cancel(*view, slot);
  if (!url) return;
  auto token = std::make_shared<Token>();
  token->apply = std::move(apply);
  token->completed = std::move(completed);
  pf::AssociatedObjects::set(*view, slot, token);
  const std::weak_ptr<pf::View> weakView = view;
  const std::weak_ptr<Token> weakToken = token;
  auto operation = WebImageManager::sharedManager()->downloadWithURL(
      url, options, std::move(progress),
      [weakView, slot, weakToken](ImagePtr image, pf::ErrorPtr error, ImageCacheType cacheType, bool finished) {
        auto work = [=] {
          if (const auto token = weakToken.lock()) finish(weakView, slot, token, image, error, cacheType, finished);
        };
        if (pf::RunLoop::isMainThread()) {
          work();
        } else {
          pf::DispatchQueue::main()->async(std::move(work));
        }
      });
  // Cancelled meanwhile (by a completion that started another load on this view): stop this one too.
  if (token->cancelled) {
    operation->cancel();
  } else {
    token->operation = std::move(operation);
  }
}

void WebCacheLoad::finish(const std::weak_ptr<pf::View>& weakView, pf::AssociatedObjects::Key slot,
                          const std::shared_ptr<Token>& token, const ImagePtr& image, const pf::ErrorPtr& error,
                          ImageCacheType cacheType, bool finished) {
  const auto view = weakView.lock();
  if (!view || token->cancelled || pf::AssociatedObjects::get<Token>(*view, slot) != token) return;
  if (image && token->apply) token->apply(*view, image);
  if (finished && token->completed) token->completed(image, error, cacheType);
}

double WebCacheLoad::fittedWidth(const pf::Image& image, float height, float maxWidth) {
  const pf::Size size = image.size();
  if (size.height <= 0) return 0;
  double width = height * size.width / size.height;
  if (maxWidth != 0 && maxWidth < width) width = maxWidth;
  return width;
}
