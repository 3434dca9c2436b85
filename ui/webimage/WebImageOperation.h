#pragma once
// A picture load that can be called off.

class WebImageOperation {
 public:
  virtual ~WebImageOperation() = default;
  virtual void cancel() = 0;
};
