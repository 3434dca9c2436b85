#include "app/controller/blg/BlgEditorText.h"

#include <charconv>

#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Notification.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

std::string BlgEditorText::cut(const std::string& text) { return pf::utf16::prefix(text, kMaxLength); }

long BlgEditorText::remaining(const std::string& text) {
  return static_cast<long>(kMaxLength) - static_cast<long>(pf::utf16::length(text));
}

void BlgEditorText::showRemaining(pf::Label& counter, long remaining) {
  counter.setText(pf::format("%d", static_cast<int>(remaining)));
}

long BlgEditorText::counterValue(const pf::Label& counter) {
  const std::string text = counter.text().value_or("");
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : static_cast<long>(kMaxLength);
}

bool BlgEditorText::isBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n\v\f") == std::string::npos;
}

void BlgEditorText::addHideKeyboardBar(const std::shared_ptr<pf::TextView>& textView) {
  if (!textView) return;
  const bool phone = pf::Device::currentDevice().userInterfaceIdiom() != pf::Device::Idiom::Pad;
  std::weak_ptr<pf::TextView> weak = textView;
  ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(textView, phone, textView, [weak] {
    if (auto view = weak.lock()) view->resignFirstResponder();
  });
}

std::optional<double> BlgEditorText::keyboardHeight(const pf::Notification& notification) {
  const auto it = notification.userInfo.find(pf::Keyboard::kFrameEndUserInfoKey);
  if (it == notification.userInfo.end()) return std::nullopt;
  const auto end = pf::Keyboard::rectFromValue(it->second);
  return end ? std::optional<double>(end->height()) : std::nullopt;
}
