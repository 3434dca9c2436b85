#pragma once
// An interface file: a readable XML description of an object tree that a screen, view or cell is
// made from. Loading it makes the objects (views nested as subviews, a table cell's in its content
// view), sets their typed properties, connects outlets (to the owner or between objects) and actions
// (from controls to a target, by event), then sends awakeFromNib to every object it made. Names the file uses must be registered
// with NibRegistry; anything unknown or malformed is a ContractViolation naming the file and line,
// raised before any outlet of the owner is touched.
//
//   <interface>
//     <object class="View" id="main" frame="0 0 320 460" autoresizingMask="flexibleWidth|flexibleHeight"
//             backgroundColor="#F2F2F2">
//       <object class="Button" id="go" frame="20 20 120 40"/>
//     </object>
//     <connections>
//       <outlet source="owner" name="view" destination="main"/>
//       <action source="go" event="touchUpInside" destination="owner" name="goClick"/>
//     </connections>
//   </interface>
//
// Property values by kind: text as written; numbers; integers or registered names ("a|b" where they
// combine); flags "true"/"false" (or YES/NO, 1/0); colours "#RRGGBB", "#RRGGBBAA" or a name ("clear",
// "white", ...); fonts "17", "bold 17", "italic 12" or "<family> 14"; image names of the main bundle;
// rectangles "x y w h", points "x y" and sizes "w h". Events are the control event names
// ("touchUpInside") or their numbers. The id "owner" stands for the owner.
//
// The file is parsed once and kept; instantiating may happen many times. Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/runtime/Object.h"

namespace pf {

class View;
struct NibNode;

class Nib {
 public:
  static constexpr char kExtension[] = "nib";

  // The file "<name>.nib" in the bundle (the main bundle when none is given).
  static std::shared_ptr<Nib> nibWithNibName(const std::string& name,
                                             const std::shared_ptr<Bundle>& bundle = nullptr);
  static std::shared_ptr<Nib> nibWithPath(std::string path);

  const std::string& path() const { return path_; }

  // The top-level objects, in file order. The owner may be null when the file does not connect it.
  std::vector<ObjectPtr> instantiateWithOwner(const ObjectPtr& owner) const;
  // A table cell: the file's first object, which must be a view declared for the reuse identifier
  // (when the file declares one).
  std::shared_ptr<View> instantiateCell(const std::string& reuseIdentifier,
                                        const ObjectPtr& owner = nullptr) const;

  using Node = NibNode;

 private:
  explicit Nib(std::string path) : path_(std::move(path)) {}
  const Node& document() const;

  std::string path_;
  mutable std::shared_ptr<const Node> document_;
};

}  // namespace pf
