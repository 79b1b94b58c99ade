// Counts how deeply a piece of code is nested in itself: the counter is raised for the scope's
// lifetime and lowered again on every way out, exceptions included.

#pragma once

namespace mv {

class DepthScope {
 public:
  explicit DepthScope(int& depth) : depth_(depth) { ++depth_; }
  ~DepthScope() { --depth_; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;

 private:
  int& depth_;
};

}  // namespace mv
