#pragma once
// The scale a remote picture is shown at, read from its key: "name@2x.png" (the marker right before a
// three- or four-letter extension ending the key) is a picture of scale 2, anything else of scale 1.
// Animated pictures get the rule frame by frame and keep their duration. Any thread.

#include <memory>
#include <string>

#include "platform/graphics/Image.h"

std::shared_ptr<const pf::Image> ScaledImageForKey(const std::string& key,
                                                   const std::shared_ptr<const pf::Image>& image);
