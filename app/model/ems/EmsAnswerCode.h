#pragma once
// The text form of an exam answer, shared by the server, the local table of unfinished answers and
// the screens: the ids of the chosen options joined by two grave accents ("a``b"), typed text as it
// is, or, for a true/false question that takes an explanation, the chosen id, the separator and the
// text ("false``because"). Answers come from the server and from the local table, so reading one
// never trusts its shape: any text reads as some set of ids and some text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class EmsAnswerCode {
 public:
  static constexpr std::string_view kSeparator = "``";

  // How an answer text is laid out; follows from the question type.
  enum class Form {
    Options,         // ids joined by the separator
    Text,            // typed text only
    OptionWithText,  // one id, then the separator and typed text when there is any
  };

  struct Parts {
    std::vector<std::string> optionIds;
    std::optional<std::string> text;
  };

  // What an answer says: the chosen option ids (non-empty parts only, in answer order) and the text.
  static Parts parse(std::string_view answer, Form form);
  // Whether the answer chose that option: the id equals one chosen id exactly, ignoring ASCII case.
  // An id that is only part of a chosen id ("1" inside "11") is not chosen.
  static bool choosesOption(std::string_view answer, Form form, std::string_view optionId);

  static std::string join(const std::vector<std::string>& optionIds);
  // Every part between separators, empty ones included ("a````b" gives a, "", b).
  static std::vector<std::string_view> split(std::string_view text);
  // The right answer as a learner's answer must equal it: one trailing separator dropped and, when
  // firstPartOnly, everything from the first separator on.
  static std::string comparableRightAnswer(std::string_view answer, bool firstPartOnly);
};
