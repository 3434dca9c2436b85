#pragma once
// One picture of the application bundle as the pictures tool draws it: its file name (without
// ".png"), its size in points, how it looks, its main colour and a short text or mark on it.

#include <cstdint>
#include <vector>

namespace pictures {

enum class Look {
  backdrop,    // a full-screen background: a soft vertical gradient
  banner,      // a header band with the text on it
  bar,         // a navigation, tab or tool bar
  button,      // a rounded button; the text, when given, centred on it
  backButton,  // a button whose left end points left
  backArrow,   // a square button with an arrow pointing left on it
  menuButton,  // a button with three lines
  tab,         // a flat tab or segment; the text, when given, centred
  cell,        // a light row or cell background with a thin border
  icon,        // a rounded square with one or two characters on it
  glyph,       // the text alone, as a small symbol
  badge,       // a red disc with a white ring
  tag,         // a small rounded label with the text
  checkOn,     // a ticked square box
  checkOff,    // an empty square box
  radioOn,     // a filled circle in a ring
  radioOff,    // an empty ring
  lines,       // three short horizontal lines (sorting, lists)
  play,        // a triangle pointing right
  pause,       // two bars
  arrowDown,   // a small triangle pointing down
  avatar,      // a grey head and shoulders
  photo,       // a picture placeholder: a sun over hills
  book,        // a book cover
  face,        // a round face: the text is "pass", "fail" or "wait"
  empty,       // an empty tray, shown over an empty list
  page,        // a help page: the text large on a coloured page
};

struct Picture {
  const char* name;
  double width;
  double height;
  Look look;
  std::uint32_t colour;  // 0xRRGGBB
  const char* text = "";
};

// Every picture, in the order they are drawn.
const std::vector<Picture>& pictureTable();

}  // namespace pictures
