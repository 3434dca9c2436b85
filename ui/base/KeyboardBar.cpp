#include "ui/base/KeyboardBar.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Toolbar.h"

std::shared_ptr<pf::Toolbar> KeyboardBar::makeForInput(std::weak_ptr<void> input, std::function<void()> editDone) {
  if (pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad) return nullptr;
  auto bar = std::make_shared<pf::Toolbar>(pf::Rect{{0, 0}, {pf::Screen::mainScreen().bounds().size.width, kHeight}});
  bar->setBarStyle(pf::Toolbar::BarStyle::BlackTranslucent);
  auto space = std::make_shared<pf::BarButtonItem>(pf::BarButtonItem::SystemItem::FlexibleSpace,
                                                   std::weak_ptr<void>(), nullptr);
  auto hide = std::make_shared<pf::BarButtonItem>(std::string(kHideKeyboardTitle), pf::BarButtonItem::Style::Done,
                                                  std::move(input),
                                                  [editDone = std::move(editDone)](pf::BarButtonItem&) { editDone(); });
  bar->setItems({space, hide});
  return bar;
}
