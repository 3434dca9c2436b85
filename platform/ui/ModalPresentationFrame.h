#pragma once
// Where a modally presented controller's view goes. A full-screen presentation covers the window's
// root view (the application frame), whatever the presenter's own frame: a presenter may be an
// invisible controller with a zero-sized view. On a tablet the form-sheet style is a 540 by 620-point
// sheet centred in the window (the presenter stays visible around it, dimmed); elsewhere it is full screen.

#include "platform/graphics/Rect.h"

namespace pf {

class Window;

class ModalPresentationFrame {
 public:
  static constexpr double kFormSheetWidth = 540;
  static constexpr double kFormSheetHeight = 620;

  // The frame, in window coordinates, for a presentation in that style (the platform's number).
  static Rect frameFor(int presentationStyle, const Rect& presenterFrame, const Window& window);
  // Whether the presenter stays in view beside the presented controller.
  static bool keepsPresenterVisible(int presentationStyle);
};

}  // namespace pf
