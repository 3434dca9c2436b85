#include "app/controller/cmn/CmnEmbeddedChild.h"

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

// The child joins before its view loads, so what it starts while loading reports to the parent.
void CmnEmbeddedChild::embed(pf::ViewController& parent, const std::shared_ptr<pf::ViewController>& child,
                             const std::shared_ptr<pf::View>& place) {
  parent.addChildViewController(child);
  auto host = place ? place : parent.view();
  child->view()->setFrame(host->bounds());
  child->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  // A scrolled list draws inside its place only, never over the controls around it.
  child->view()->setClipsToBounds(true);
  host->addSubview(child->view());
  child->didMoveToParentViewController(&parent);
}
