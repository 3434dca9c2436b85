#pragma once
// What the micro-blog editors share about their text: the 140-unit limit cut at whole characters,
// the counter of what is left, blank texts, the phone's hide-keyboard bar and the keyboard's height
// from its notification. Stateless; main thread.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace pf {
class Label;
class TextView;
struct Notification;
}  // namespace pf

class BlgEditorText {
 public:
  static constexpr std::size_t kMaxLength = 140;
  static constexpr char kEmptyMessage[] = "你得说点什么...";
  static constexpr char kOfflineMessage[] = "当前网络不可用";
  static constexpr char kPostedMessage[] = "发布成功！";

  // The first 140 UTF-16 units, never half of a pair.
  static std::string cut(const std::string& text);
  // 140 minus the text's length, as the counter shows it (below zero for a longer text).
  static long remaining(const std::string& text);
  static void showRemaining(pf::Label& counter, long remaining);
  // The counter read back as a number; an unreadable counter counts as full (nothing typed).
  static long counterValue(const pf::Label& counter);
  // Nothing but white space and line ends.
  static bool isBlank(const std::string& text);
  // On a phone, the toolbar with "隐藏键盘" that ends editing of the text view; a tablet has none.
  static void addHideKeyboardBar(const std::shared_ptr<pf::TextView>& textView);
  // The keyboard's height at the end of its move, when the notification tells it.
  static std::optional<double> keyboardHeight(const pf::Notification& notification);
};
