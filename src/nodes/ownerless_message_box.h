// How a gathering tells the user that one of its stages failed: a box with no owner window.
#pragma once

#include <string>

// The window bindings supply it (their toolkit's MessageBox without an owner, carrying the
// system's default title); a run without a window writes the text out instead.
class OwnerlessMessageBox {
 public:
  virtual ~OwnerlessMessageBox() = default;
  virtual void Show(const std::wstring& text) = 0;
};
