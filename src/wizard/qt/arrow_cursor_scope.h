// The arrow over a box that a long step shows while the wait cursor is up.
#pragma once

// The wait cursor is an application-wide override, so a box shown during a step would wear it
// too and look as busy as the step. While a scope lives, an arrow is pushed above the override;
// it pushes nothing when no override is set, so that it never takes off a cursor it did not set.
class ArrowCursorScope {
 public:
  ArrowCursorScope();
  ~ArrowCursorScope();
  ArrowCursorScope(const ArrowCursorScope&) = delete;
  ArrowCursorScope& operator=(const ArrowCursorScope&) = delete;

 private:
  bool pushed_ = false;
};
