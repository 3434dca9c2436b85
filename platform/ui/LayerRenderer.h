#pragma once
// Draws a layer tree into a drawing context as it looks now: every layer by its presentation values
// (so a running animation shows its in-between state), with transforms, opacity, background,
// rounded corners, borders, shadows, contents, the delegate's drawing (kept until the next
// setNeedsDisplay), masks and clipping. Hidden and fully transparent layers and everything under them
// are skipped. Main thread only.

namespace pf {

class GraphicsContext;
class Layer;

class LayerRenderer {
 public:
  // Draws the layer in the context's current space, taken as the layer's superlayer space.
  static void render(const Layer& layer, GraphicsContext& context);
};

}  // namespace pf
