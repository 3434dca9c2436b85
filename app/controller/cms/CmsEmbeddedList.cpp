#include "app/controller/cms/CmsEmbeddedList.h"

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

void CmsEmbeddedList::embed(pf::ViewController& frame, const std::shared_ptr<pf::ViewController>& list,
                            const std::shared_ptr<pf::View>& container) {
  auto host = container ? container : frame.view();
  frame.addChildViewController(list);
  list->view()->setFrame(host->bounds());
  list->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  host->addSubview(list->view());
  list->didMoveToParentViewController(&frame);
}
