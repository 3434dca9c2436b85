#pragma once
// What a side-panel deck asks of and tells its delegate (and, in delegate mode 1, its own child
// controllers). Every operation is optional. Questions answer std::nullopt when not implemented, so
// the deck can tell "no answer" from "no"; notifications have empty bodies. A controller in the deck
// that implements this interface counts as answering every notification.

#include <optional>

#include "ui/deck/PanelDeckTypes.h"

namespace pf {
class Layer;
class PanGestureRecognizer;
class View;
class ViewController;
struct Rect;
}  // namespace pf

class PanelDeckControllerDelegate {
 public:
  virtual ~PanelDeckControllerDelegate() = default;

  // Asked of the delegate only, before a pan begins in panning mode 4.
  virtual std::optional<bool> shouldPan(PanelDeckController& deck, pf::PanGestureRecognizer& panner) {
    (void)deck, (void)panner;
    return std::nullopt;
  }
  // Asked of the delegate only: answers true when it styled and placed the shadow itself.
  virtual bool applyShadow(PanelDeckController& deck, pf::Layer& shadowLayer, const pf::Rect& referenceBounds) {
    (void)deck, (void)shadowLayer, (void)referenceBounds;
    return false;
  }
  virtual void didChangeOffset(PanelDeckController& deck, double offset, DeckOffsetOrientation orientation,
                               bool panning) {
    (void)deck, (void)offset, (void)orientation, (void)panning;
  }
  virtual void didBounceViewSideOpeningController(PanelDeckController& deck, DeckSide side,
                                                  pf::ViewController* controller) {
    (void)deck, (void)side, (void)controller;
  }
  virtual void didBounceViewSideClosingController(PanelDeckController& deck, DeckSide side,
                                                  pf::ViewController* controller) {
    (void)deck, (void)side, (void)controller;
  }
  virtual std::optional<bool> shouldOpenViewSide(PanelDeckController& deck, DeckSide side) {
    (void)deck, (void)side;
    return std::nullopt;
  }
  virtual void willOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  virtual void didOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  virtual std::optional<bool> shouldCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
    return std::nullopt;
  }
  virtual void willCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  virtual void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  virtual void didShowCenterViewFromSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  virtual std::optional<bool> shouldPreviewBounceViewSide(PanelDeckController& deck, DeckSide side) {
    (void)deck, (void)side;
    return std::nullopt;
  }
  virtual void willPreviewBounceViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  virtual void didPreviewBounceViewSide(PanelDeckController& deck, DeckSide side, bool animated) {
    (void)deck, (void)side, (void)animated;
  }
  // Filters every ledge the deck stores.
  virtual std::optional<double> changesLedge(PanelDeckController& deck, double ledge, DeckSide side) {
    (void)deck, (void)ledge, (void)side;
    return std::nullopt;
  }
  virtual std::optional<bool> shouldBeginPanOverView(PanelDeckController& deck, pf::View& view) {
    (void)deck, (void)view;
    return std::nullopt;
  }
};
