#include "platform/ui/Nib.h"

#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

#include "platform/foundation/Error.h"
#include "platform/ui/NibDocument.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/View.h"

namespace pf {

namespace {

using Node = NibNode;

constexpr char kOwnerId[] = "owner";

// The platform's control event numbers.
const std::map<std::string, long long>& controlEvents() {
  static const std::map<std::string, long long> events{
      {"touchDown", 1},           {"touchDownRepeat", 2},
      {"touchDragInside", 4},     {"touchDragOutside", 8},
      {"touchDragEnter", 16},     {"touchDragExit", 32},
      {"touchUpInside", 64},      {"touchUpOutside", 128},
      {"touchCancel", 256},       {"valueChanged", 4096},
      {"editingDidBegin", 65536}, {"editingChanged", 131072},
      {"editingDidEnd", 262144},  {"editingDidEndOnExit", 524288},
      {"allTouchEvents", 0xFFF},  {"allEditingEvents", 0xF0000},
      {"allEvents", 0xFFFFFFFF}};
  return events;
}

const std::map<std::string, Color (*)()>& namedColours() {
  static const std::map<std::string, Color (*)()> colours{
      {"clear", &Color::clear},       {"black", &Color::black},
      {"darkGray", &Color::darkGray}, {"lightGray", &Color::lightGray},
      {"white", &Color::white},       {"gray", &Color::gray},
      {"red", &Color::red},           {"green", &Color::green},
      {"blue", &Color::blue},         {"cyan", &Color::cyan},
      {"yellow", &Color::yellow},     {"magenta", &Color::magenta},
      {"orange", &Color::orange},     {"purple", &Color::purple},
      {"brown", &Color::brown},       {"lightText", &Color::lightText},
      {"darkText", &Color::darkText}, {"groupTableViewBackground", &Color::groupTableViewBackground}};
  return colours;
}

class LoadError {
 public:
  LoadError(const std::string& path, int line) : path_(path), line_(line) {}
  [[noreturn]] void fail(const std::string& message) const {
    throw ContractViolation(path_ + ":" + std::to_string(line_) + ": " + message);
  }

 private:
  const std::string& path_;
  int line_;
};

std::vector<std::string> tokens(const std::string& text, const std::string& separators) {
  std::vector<std::string> out;
  std::string current;
  for (char c : text) {
    if (separators.find(c) != std::string::npos) {
      if (!current.empty()) out.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) out.push_back(std::move(current));
  return out;
}

std::optional<double> number(const std::string& text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<long long> integer(const std::string& text) {
  const bool hex = text.rfind("0x", 0) == 0;
  const char* begin = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  if (begin == end) return std::nullopt;
  long long value = 0;
  auto [stop, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<std::vector<double>> numbers(const std::string& text, size_t count) {
  auto parts = tokens(text, " ,\t\n");
  if (parts.size() != count) return std::nullopt;
  std::vector<double> out;
  for (auto& part : parts) {
    auto value = number(part);
    if (!value) return std::nullopt;
    out.push_back(*value);
  }
  return out;
}

std::optional<Color> colour(const std::string& text) {
  if (auto named = namedColours().find(text); named != namedColours().end()) return named->second();
  if (text.size() != 7 && text.size() != 9) return std::nullopt;
  if (text[0] != '#') return std::nullopt;
  unsigned channels[4] = {0, 0, 0, 255};
  for (size_t i = 0; i * 2 + 1 < text.size(); ++i) {
    auto [end, error] = std::from_chars(text.data() + 1 + i * 2, text.data() + 3 + i * 2, channels[i], 16);
    if (error != std::errc() || end != text.data() + 3 + i * 2) return std::nullopt;
  }
  return Color::fromRgba(channels[0] / 255.0, channels[1] / 255.0, channels[2] / 255.0, channels[3] / 255.0);
}

std::shared_ptr<const Font> font(const std::string& text) {
  auto parts = tokens(text, " \t");
  if (parts.empty()) return nullptr;
  auto size = number(parts.back());
  if (!size || *size <= 0) return nullptr;
  parts.pop_back();
  if (parts.empty() || (parts.size() == 1 && parts[0] == "system")) return Font::systemFont(*size);
  if (parts.size() == 1 && parts[0] == "bold") return Font::boldSystemFont(*size);
  if (parts.size() == 1 && parts[0] == "italic") return Font::italicSystemFont(*size);
  std::string family = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) family += " " + parts[i];
  return Font::withNameOrSystem(family, *size);
}

// Pictures of the main bundle, shared while in use; the @2x file first on a screen of scale 2.
std::shared_ptr<Image> image(const std::string& name) {
  static std::map<std::string, std::weak_ptr<Image>> cache;
  auto bundle = Bundle::mainBundle();
  std::optional<std::string> path;
  if (Screen::mainScreen().scale() >= 2) {
    const auto dot = name.rfind('.');
    const std::string doubled =
        dot == std::string::npos ? name + "@2x" : name.substr(0, dot) + "@2x" + name.substr(dot);
    path = bundle->pathForResource(doubled, "");
  }
  if (!path) path = bundle->pathForResource(name, "");
  if (!path) return nullptr;
  if (auto cached = cache[*path].lock()) return cached;
  auto loaded = Image::withContentsOfFile(*path);
  cache[*path] = loaded;
  return loaded;
}

std::string kindName(NibKind kind) {
  switch (kind) {
    case NibKind::Text:
      return "a text";
    case NibKind::Number:
      return "a number";
    case NibKind::Integer:
      return "an integer";
    case NibKind::Flag:
      return "true or false";
    case NibKind::Colour:
      return "a colour";
    case NibKind::Font:
      return "a font";
    case NibKind::Image:
      return "an image of the bundle";
    case NibKind::Rect:
      return "a rectangle";
    case NibKind::Point:
      return "a point";
    case NibKind::Size:
      return "a size";
  }
  return "a value";
}

std::optional<NibValue> parseValue(const NibProperty& property, const std::string& text) {
  switch (property.kind) {
    case NibKind::Text:
      return NibValue(text);
    case NibKind::Number:
      if (auto n = number(text)) return NibValue(*n);
      return std::nullopt;
    case NibKind::Integer: {
      const auto parts = property.combines ? tokens(text, "| ") : std::vector<std::string>{text};
      if (parts.empty()) return std::nullopt;
      long long value = 0;
      for (auto& part : parts) {
        auto named = property.names.find(part);
        auto n = named != property.names.end() ? std::optional<long long>(named->second) : integer(part);
        if (!n) return std::nullopt;
        value |= *n;
      }
      return NibValue(value);
    }
    case NibKind::Flag:
      if (text == "true" || text == "YES" || text == "yes" || text == "1") return NibValue(true);
      if (text == "false" || text == "NO" || text == "no" || text == "0") return NibValue(false);
      return std::nullopt;
    case NibKind::Colour:
      if (auto c = colour(text)) return NibValue(*c);
      return std::nullopt;
    case NibKind::Font:
      if (auto f = font(text)) return NibValue(f);
      return std::nullopt;
    case NibKind::Image:
      if (auto i = image(text)) return NibValue(i);
      return std::nullopt;
    case NibKind::Rect:
      if (auto n = numbers(text, 4)) return NibValue(Rect((*n)[0], (*n)[1], (*n)[2], (*n)[3]));
      return std::nullopt;
    case NibKind::Point:
      if (auto n = numbers(text, 2)) return NibValue(Point{(*n)[0], (*n)[1]});
      return std::nullopt;
    case NibKind::Size:
      if (auto n = numbers(text, 2)) return NibValue(Size{(*n)[0], (*n)[1]});
      return std::nullopt;
  }
  return std::nullopt;
}

// What a file asks for, checked against the registry before anything is made.
struct PlannedObject {
  const Node* node = nullptr;
  const NibClass* cls = nullptr;
  std::vector<std::pair<const NibProperty*, NibValue>> values;
  std::vector<size_t> subviews;
  ObjectPtr made;
};

struct PlannedOutlet {
  const Node* node;
  size_t source;  // kOwner for the owner
  const NibOutlet* outlet;
  size_t destination;
};

struct PlannedAction {
  const Node* node;
  size_t source;
  unsigned events;
  size_t target;
  const std::function<void(Object&, const ObjectPtr&)>* action;
};

constexpr size_t kOwner = static_cast<size_t>(-1);

// Where a file's subviews of the view go: a cell's go into its content view, as they do on the
// platform, so its own views (content, accessory) never cover their controls.
View& nibSubviewHolder(View& view) {
  if (auto* cell = dynamic_cast<TableViewCell*>(&view)) return cell->placedContentView();
  return view;
}

class Loader {
 public:
  Loader(const std::string& path, const Node& root, const ObjectPtr& owner)
      : path_(path),
        owner_(owner),
        ownerClass_(owner ? NibRegistry::nearest(&owner->objectClass()) : nullptr) {
    if (root.name != "interface") at(root).fail("the root element is <" + root.name + ">, not <interface>");
    for (auto& child : root.children) {
      if (child.name == "object") {
        topLevel_.push_back(plan(child));
      } else if (child.name != "connections") {
        at(child).fail("unknown element <" + child.name + ">");
      }
    }
    for (auto& child : root.children) {
      if (child.name != "connections") continue;
      for (auto& connection : child.children) {
        if (connection.name == "outlet") {
          planOutlet(connection);
        } else if (connection.name == "action") {
          planAction(connection);
        } else {
          at(connection).fail("unknown element <" + connection.name + ">");
        }
      }
    }
  }

  std::vector<ObjectPtr> run() {
    for (auto& object : objects_) {
      object.made = object.cls->make();
      for (auto& [property, value] : object.values) property->set(*object.made, value);
    }
    for (auto& object : objects_) {
      for (size_t child : object.subviews) {
        nibSubviewHolder(static_cast<View&>(*object.made))
            .addSubview(std::static_pointer_cast<View>(objects_[child].made));
      }
    }
    for (auto& outlet : outlets_) {
      auto target = objectAt(outlet.destination);
      if (!outlet.outlet->accepts(target)) {
        at(*outlet.node)
            .fail("outlet " + *outlet.node->attribute("name") + " of " + classNameAt(outlet.source) +
                  " cannot hold a " + classNameAt(outlet.destination));
      }
    }
    for (auto& outlet : outlets_) outlet.outlet->set(*objectAt(outlet.source), objectAt(outlet.destination));
    for (auto& action : actions_) {
      auto source = objectAt(action.source);
      std::weak_ptr<Object> weakTarget = objectAt(action.target);
      auto call = *action.action;
      objects_[action.source].cls->actionSource()->operator()(*source, action.events,
                                                              [weakTarget, call](const ObjectPtr& sender) {
                                                                if (auto target = weakTarget.lock())
                                                                  call(*target, sender);
                                                              });
    }
    for (auto& object : objects_) {
      if (auto* responder = dynamic_cast<Responder*>(object.made.get())) responder->awakeFromNib();
    }
    std::vector<ObjectPtr> top;
    for (size_t index : topLevel_) top.push_back(objects_[index].made);
    return top;
  }

  const Node& firstNode() const { return *objects_[topLevel_.front()].node; }
  bool firstIsView() const { return objects_[topLevel_.front()].cls->isView(); }
  bool empty() const { return topLevel_.empty(); }

 private:
  LoadError at(const Node& node) const { return LoadError(path_, node.line); }

  size_t plan(const Node& node) {
    const std::string* className = node.attribute("class");
    if (!className) at(node).fail("<object> needs a class");
    const NibClass* cls = NibRegistry::find(*className);
    if (!cls) at(node).fail("unknown class " + *className);
    if (!cls->make()) at(node).fail("class " + *className + " cannot be made from a file");
    PlannedObject object;
    object.node = &node;
    object.cls = cls;
    for (auto& [key, text] : node.attributes) {
      if (key == "class") continue;
      if (key == "id") {
        if (text == kOwnerId) at(node).fail("the id owner is kept for the file's owner");
        if (ids_.contains(text)) at(node).fail("the id " + text + " is used twice");
        ids_[text] = objects_.size();
        continue;
      }
      const NibProperty* property = cls->findProperty(key);
      if (!property) at(node).fail("class " + *className + " has no property " + key);
      auto value = parseValue(*property, text);
      if (!value) {
        at(node).fail("property " + key + " of " + *className + " cannot take \"" + text + "\" (expected " +
                      kindName(property->kind) + ")");
      }
      object.values.emplace_back(property, std::move(*value));
    }
    const size_t index = objects_.size();
    objects_.push_back(std::move(object));
    for (auto& child : node.children) {
      if (child.name != "object") at(child).fail("unknown element <" + child.name + ">");
      if (!cls->isView()) at(child).fail(*className + " is not a view and cannot hold subviews");
      const size_t childIndex = plan(child);
      if (!objects_[childIndex].cls->isView()) {
        at(child).fail(objects_[childIndex].cls->name() + " is not a view and cannot be a subview");
      }
      objects_[index].subviews.push_back(childIndex);
    }
    return index;
  }

  size_t resolve(const Node& node, const char* key) {
    const std::string* id = node.attribute(key);
    if (!id) at(node).fail("<" + node.name + "> needs a " + key);
    if (*id == kOwnerId) {
      if (!owner_) at(node).fail("the file connects its owner, but no owner was given");
      return kOwner;
    }
    auto found = ids_.find(*id);
    if (found == ids_.end()) at(node).fail("no object with the id " + *id);
    return found->second;
  }

  const NibClass* classAt(size_t index) const { return index == kOwner ? ownerClass_ : objects_[index].cls; }
  std::string classNameAt(size_t index) const {
    if (index == kOwner) return owner_->className();
    return objects_[index].cls->name();
  }
  ObjectPtr objectAt(size_t index) const { return index == kOwner ? owner_ : objects_[index].made; }

  void planOutlet(const Node& node) {
    const size_t source = resolve(node, "source");
    const size_t destination = resolve(node, "destination");
    const std::string* name = node.attribute("name");
    if (!name) at(node).fail("<outlet> needs a name");
    const NibClass* cls = classAt(source);
    const NibOutlet* outlet = cls ? cls->findOutlet(*name) : nullptr;
    if (!outlet) at(node).fail("class " + classNameAt(source) + " has no outlet named " + *name);
    outlets_.push_back({&node, source, outlet, destination});
  }

  void planAction(const Node& node) {
    const size_t source = resolve(node, "source");
    const size_t target =
        node.attribute("destination") ? resolve(node, "destination") : resolve(node, "owner");
    const std::string* name = node.attribute("name");
    const std::string* event = node.attribute("event");
    if (!name) at(node).fail("<action> needs a name");
    if (!event) at(node).fail("<action> needs an event");
    if (source == kOwner || !objects_[source].cls->actionSource()) {
      at(node).fail("class " + classNameAt(source) + " sends no actions");
    }
    std::optional<long long> events;
    if (auto named = controlEvents().find(*event); named != controlEvents().end()) {
      events = named->second;
    } else {
      events = integer(*event);
    }
    if (!events || *events <= 0) at(node).fail("unknown event " + *event);
    const NibClass* cls = classAt(target);
    const auto* action = cls ? cls->findAction(*name) : nullptr;
    if (!action) at(node).fail("class " + classNameAt(target) + " has no action named " + *name);
    actions_.push_back({&node, source, static_cast<unsigned>(*events), target, action});
  }

  const std::string& path_;
  ObjectPtr owner_;
  const NibClass* ownerClass_;
  std::vector<PlannedObject> objects_;
  std::vector<size_t> topLevel_;
  std::map<std::string, size_t> ids_;
  std::vector<PlannedOutlet> outlets_;
  std::vector<PlannedAction> actions_;
};

}  // namespace

std::shared_ptr<Nib> Nib::nibWithNibName(const std::string& name, const std::shared_ptr<Bundle>& bundle) {
  auto from = bundle ? bundle : Bundle::mainBundle();
  auto path = from->pathForResource(name, kExtension);
  return nibWithPath(path ? *path : from->bundlePath() + "/" + name + "." + kExtension);
}

std::shared_ptr<Nib> Nib::nibWithPath(std::string path) {
  return std::shared_ptr<Nib>(new Nib(std::move(path)));
}

const Nib::Node& Nib::document() const {
  if (!document_) document_ = NibDocument::readFile(path_);
  return *document_;
}

std::vector<ObjectPtr> Nib::instantiateWithOwner(const ObjectPtr& owner) const {
  Loader loader(path_, document(), owner);
  return loader.run();
}

std::shared_ptr<View> Nib::instantiateCell(const std::string& reuseIdentifier, const ObjectPtr& owner) const {
  Loader loader(path_, document(), owner);
  if (loader.empty())
    throw ContractViolation(path_ + ":" + std::to_string(document().line) + ": the file holds no cell");
  const Node& first = loader.firstNode();
  const std::string* declared = first.attribute("reuseIdentifier");
  if (declared && *declared != reuseIdentifier) {
    throw ContractViolation(path_ + ":" + std::to_string(first.line) +
                            ": the cell is declared for the reuse identifier " + *declared + ", not " +
                            reuseIdentifier);
  }
  if (!loader.firstIsView()) {
    throw ContractViolation(path_ + ":" + std::to_string(first.line) + ": the first object is not a view");
  }
  return std::static_pointer_cast<View>(loader.run().front());
}

}  // namespace pf
