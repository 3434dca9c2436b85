#pragma once
// What a layer asks of its owner (a view): the action for a property change, its drawing and the
// layout of its sublayers. Operations are optional.

#include <memory>
#include <optional>
#include <string>

namespace pf {

class Animation;
class GraphicsContext;
class Layer;

class LayerDelegate {
 public:
  virtual ~LayerDelegate() = default;
  // nullopt: no opinion, the layer's default applies; a null animation: no animation at all.
  virtual std::optional<std::shared_ptr<Animation>> actionForLayer(Layer& /*layer*/,
                                                                   const std::string& /*key*/) {
    return std::nullopt;
  }
  // Draws the layer's content; answers false when there is nothing to draw.
  virtual bool drawLayer(Layer& /*layer*/, GraphicsContext& /*context*/) { return false; }
  virtual void layoutSublayersOfLayer(Layer& /*layer*/) {}
};

}  // namespace pf
