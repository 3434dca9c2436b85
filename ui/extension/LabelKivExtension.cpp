#include "ui/extension/LabelKivExtension.h"

#include <limits>

#include "platform/text/StringDrawing.h"
#include "platform/ui/Label.h"

void LabelKivExtension::resetFrameToFit(pf::Label& label) {
  pf::Rect frame = label.frame();
  frame.size.height = 0;
  if (label.text() && !label.text()->empty()) {
    const pf::Size constraints{frame.size.width, std::numeric_limits<double>::max()};
    frame.size.height =
        pf::StringDrawing::sizeOfText(*label.text(), *label.font(), constraints, label.lineBreakMode()).height;
  }
  label.setFrame(frame);
}
