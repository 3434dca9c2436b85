#pragma once
// Fits a label's height to its text (question cells and survey descriptions). Main thread only.

namespace pf {
class Label;
}

class LabelKivExtension {
 public:
  // Keeps the origin and width; the height becomes that of the text in the label's font at that
  // width with its line-break mode (0 without text).
  static void resetFrameToFit(pf::Label& label);
};
