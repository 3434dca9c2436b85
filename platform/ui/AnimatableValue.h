#pragma once
// A value a layer property takes and an animation moves between: a number, a point, a size, a rect,
// a transform, a colour, a list of colours or numbers (gradients), a path or an image. Numbers,
// geometry, transforms and colours interpolate; paths and images switch at the halfway mark.

#include <memory>
#include <variant>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

namespace pf {

class Image;
class Path;

using AnimatableValue =
    std::variant<std::monostate, double, Point, Size, Rect, AffineTransform, Color, std::vector<Color>,
                 std::vector<double>, std::shared_ptr<const Path>, std::shared_ptr<const Image>>;

// The value a fraction of the way from one value to the other (the fraction may leave 0..1 for
// curves that overshoot). Values of different kinds switch at the halfway mark.
AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double fraction);
// from + by, for animations given a by-value; unsupported kinds answer `by`.
AnimatableValue addValues(const AnimatableValue& from, const AnimatableValue& by);

bool isEmpty(const AnimatableValue& value);

}  // namespace pf
