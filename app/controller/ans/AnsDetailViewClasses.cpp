#include "app/controller/ans/AnsDetailViewClasses.h"

#include <string>

#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/NibRegistry.h"

namespace {

template <typename Screen>
void registerAnsDetailScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

}  // namespace

void registerAnsDetailViewClasses() {
  pf::registerClass<AnsQuesDetailViewController>();
  pf::NibRegistry::define<AnsQuesDetailViewController>([](pf::NibClassBuilder<AnsQuesDetailViewController>&) {});
  registerAnsDetailScreen<AnsQuesDetailViewController>();
}
