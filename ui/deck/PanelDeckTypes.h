#pragma once
// The side-panel deck's enumerations (their numbers are part of its interface) and its callbacks.

#include <functional>

class PanelDeckController;

enum DeckSide : unsigned {
  DeckSideNone = 0,
  DeckSideLeft = 1,
  DeckSideRight = 2,
  DeckSideTop = 3,
  DeckSideBottom = 4,
};

enum DeckOffsetOrientation : unsigned {
  DeckOffsetNone = 0,
  DeckOffsetHorizontal = 1,
  DeckOffsetVertical = 2,
};

enum DeckSizeMode : unsigned {
  // A size given to the size API is the ledge.
  DeckSizeModeLedge = 0,
  // A size is the extent of the opened side view.
  DeckSizeModeView = 1,
};

enum DeckAppearanceState : unsigned {
  DeckAppearanceHidden = 0,
  DeckAppearanceTransitioning = 1,
  DeckAppearanceShown = 2,
};

enum DeckPanningMode : unsigned {
  DeckPanningNone = 0,
  DeckPanningFullView = 1,
  DeckPanningNavigationBar = 2,
  DeckPanningPanningView = 3,
  DeckPanningDelegate = 4,
  DeckPanningNavigationBarOrOpenCenter = 5,
  DeckPanningAllViews = 6,
};

enum DeckCenterHiddenInteractivity : unsigned {
  DeckCenterInteractive = 0,
  DeckCenterNotInteractive = 1,
  DeckCenterTapToClose = 2,
  DeckCenterTapToCloseBouncing = 3,
};

enum DeckNavigationControllerBehavior : unsigned {
  DeckNavigationContained = 0,
  DeckNavigationIntegrated = 1,
};

enum DeckDelegateMode : unsigned {
  DeckDelegateOnly = 0,
  DeckDelegateAndSubControllers = 1,
};

// Told whether an open, close, toggle or bounce succeeded.
using DeckCompletionBlock = std::function<void(PanelDeckController& deck, bool success)>;
// Run at the turning point of a bouncing slide.
using DeckBouncedBlock = std::function<void(PanelDeckController& deck)>;
