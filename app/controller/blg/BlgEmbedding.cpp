#include "app/controller/blg/BlgEmbedding.h"

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

void BlgEmbedding::embed(pf::ViewController& container, const std::shared_ptr<pf::ViewController>& child,
                         const std::shared_ptr<pf::View>& place) {
  container.addChildViewController(child);
  auto host = place ? place : container.view();
  child->view()->setFrame(host->bounds());
  child->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  // A scrolled list draws inside its place only, never over the controls above it.
  child->view()->setClipsToBounds(true);
  host->addSubview(child->view());
  child->didMoveToParentViewController(&container);
}
