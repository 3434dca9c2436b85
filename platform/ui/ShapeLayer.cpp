#include "platform/ui/ShapeLayer.h"

#include <algorithm>
#include <cmath>

namespace pf {

namespace {

AnimatableValue optionalColor(const std::optional<Color>& color) {
  return color ? AnimatableValue(*color) : AnimatableValue();
}

constexpr int kCurveSteps = 16;

Point cubicPoint(Point p0, Point c1, Point c2, Point p3, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {a * p0.x + b * c1.x + c * c2.x + d * p3.x, a * p0.y + b * c1.y + c * c2.y + d * p3.y};
}

// The path as runs of line segments, one run per subpath.
std::vector<std::vector<Point>> flatten(const Path& path) {
  std::vector<std::vector<Point>> runs;
  Point start, current;
  for (const auto& e : path.elements()) {
    switch (e.type) {
      case Path::ElementType::moveTo:
        runs.push_back({e.points[0]});
        start = current = e.points[0];
        break;
      case Path::ElementType::lineTo:
        if (runs.empty()) runs.push_back({current});
        runs.back().push_back(e.points[0]);
        current = e.points[0];
        break;
      case Path::ElementType::curveTo:
        if (runs.empty()) runs.push_back({current});
        for (int i = 1; i <= kCurveSteps; ++i)
          runs.back().push_back(
              cubicPoint(current, e.points[1], e.points[2], e.points[0], double(i) / kCurveSteps));
        current = e.points[0];
        break;
      case Path::ElementType::closeSubpath:
        if (!runs.empty()) runs.back().push_back(start);
        current = start;
        break;
    }
  }
  return runs;
}

double distance(Point a, Point b) {
  return std::hypot(b.x - a.x, b.y - a.y);
}

}  // namespace

Path ShapeLayer::trimmed(const Path& path, double start, double end) {
  start = std::clamp(start, 0.0, 1.0);
  end = std::clamp(end, 0.0, 1.0);
  if (start <= 0 && end >= 1) return path;
  const auto runs = flatten(path);
  double total = 0;
  for (const auto& run : runs)
    for (size_t i = 1; i < run.size(); ++i) total += distance(run[i - 1], run[i]);
  Path out;
  if (total <= 0 || end <= start) return out;
  const double from = start * total, to = end * total;
  double walked = 0;
  for (const auto& run : runs) {
    bool drawing = false;
    for (size_t i = 1; i < run.size(); ++i) {
      const double length = distance(run[i - 1], run[i]);
      const double segStart = walked, segEnd = walked + length;
      walked = segEnd;
      if (segEnd <= from || segStart >= to || length <= 0) continue;
      const auto at = [&](double along) {
        const double t = (along - segStart) / length;
        return Point{run[i - 1].x + (run[i].x - run[i - 1].x) * t,
                     run[i - 1].y + (run[i].y - run[i - 1].y) * t};
      };
      if (!drawing) {
        out.moveTo(at(std::max(from, segStart)));
        drawing = true;
      }
      out.lineTo(at(std::min(to, segEnd)));
    }
  }
  return out;
}

void ShapeLayer::setPath(std::shared_ptr<const Path> path) {
  if (path != path_) changeProperty("path", AnimatableValue(std::move(path)));
}

void ShapeLayer::setFillColor(std::optional<Color> color) {
  if (color != fillColor_) changeProperty("fillColor", optionalColor(color));
}

void ShapeLayer::setStrokeColor(std::optional<Color> color) {
  if (color != strokeColor_) changeProperty("strokeColor", optionalColor(color));
}

void ShapeLayer::setLineWidth(double width) {
  if (width != lineWidth_) changeProperty("lineWidth", width);
}

void ShapeLayer::setStrokeStart(double fraction) {
  if (fraction != strokeStart_) changeProperty("strokeStart", fraction);
}

void ShapeLayer::setStrokeEnd(double fraction) {
  if (fraction != strokeEnd_) changeProperty("strokeEnd", fraction);
}

void ShapeLayer::drawContent(GraphicsContext& context) const {
  if (!path_ || path_->isEmpty()) return;
  context.saveGState();
  if (fillColor_ && fillColor_->alpha() > 0) {
    context.setFillColor(*fillColor_);
    context.fillPath(*path_, fillRule_);
  }
  if (strokeColor_ && strokeColor_->alpha() > 0 && lineWidth_ > 0 && strokeEnd_ > strokeStart_) {
    context.setStrokeColor(*strokeColor_);
    context.setLineWidth(lineWidth_);
    context.setLineCap(lineCap_);
    context.setLineJoin(lineJoin_);
    context.setLineDash(0, dashes_);
    context.strokePath(trimmed(*path_, strokeStart_, strokeEnd_));
  }
  context.restoreGState();
}

AnimatableValue ShapeLayer::valueForKeyPath(const std::string& keyPath) const {
  if (keyPath == "path") return path_;
  if (keyPath == "fillColor") return optionalColor(fillColor_);
  if (keyPath == "strokeColor") return optionalColor(strokeColor_);
  if (keyPath == "lineWidth") return lineWidth_;
  if (keyPath == "strokeStart") return strokeStart_;
  if (keyPath == "strokeEnd") return strokeEnd_;
  return Layer::valueForKeyPath(keyPath);
}

bool ShapeLayer::setValueForKeyPath(const std::string& keyPath, const AnimatableValue& value) {
  const auto* number = std::get_if<double>(&value);
  const auto* color = std::get_if<Color>(&value);
  const bool none = std::holds_alternative<std::monostate>(value);
  if (keyPath == "path" && (none || std::holds_alternative<std::shared_ptr<const Path>>(value))) {
    path_ = none ? nullptr : std::get<std::shared_ptr<const Path>>(value);
  } else if (keyPath == "fillColor" && (color || none)) {
    fillColor_ = color ? std::optional<Color>(*color) : std::nullopt;
  } else if (keyPath == "strokeColor" && (color || none)) {
    strokeColor_ = color ? std::optional<Color>(*color) : std::nullopt;
  } else if (keyPath == "lineWidth" && number) {
    lineWidth_ = *number;
  } else if (keyPath == "strokeStart" && number) {
    strokeStart_ = *number;
  } else if (keyPath == "strokeEnd" && number) {
    strokeEnd_ = *number;
  } else {
    return Layer::setValueForKeyPath(keyPath, value);
  }
  noteChange();
  return true;
}

std::shared_ptr<Layer> ShapeLayer::makeCopy() const {
  auto copy = std::make_shared<ShapeLayer>();
  copy->copyPropertiesFrom(*this);
  copy->path_ = path_;
  copy->fillColor_ = fillColor_;
  copy->strokeColor_ = strokeColor_;
  copy->lineWidth_ = lineWidth_;
  copy->strokeStart_ = strokeStart_;
  copy->strokeEnd_ = strokeEnd_;
  copy->fillRule_ = fillRule_;
  copy->lineCap_ = lineCap_;
  copy->lineJoin_ = lineJoin_;
  copy->dashes_ = dashes_;
  return copy;
}

}  // namespace pf
