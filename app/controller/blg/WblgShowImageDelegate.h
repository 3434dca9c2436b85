#pragma once
// What the composer's photo preview asks of the composer: drop the attached photo.

class WblgShowImageDelegate {
 public:
  virtual ~WblgShowImageDelegate() = default;
  virtual void deleteSendImage() = 0;
};
