#include "app/tour/ScreenFinding.h"

std::string ScreenFinding::kindName(Kind kind) {
  switch (kind) {
    case Kind::ErrorBox:
      return "error box";
    case Kind::EmptyList:
      return "empty list";
    case Kind::CutText:
      return "cut text";
    case Kind::MissingPicture:
      return "missing picture";
  }
  return "finding";
}
