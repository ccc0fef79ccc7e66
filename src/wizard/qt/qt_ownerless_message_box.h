// The owner-less box of the lab edition: a Qt message box with no parent window.
#pragma once

#include <string>

#include "nodes/ownerless_message_box.h"

class QtOwnerlessMessageBox : public OwnerlessMessageBox {
 public:
  // A modal box with no parent and no icon, an OK button and the application title as its caption.
  void Show(const std::wstring& text) override;
};
