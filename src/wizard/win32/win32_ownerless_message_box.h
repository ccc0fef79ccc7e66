// The Windows program's owner-less box: MessageBoxW with no owner window.
#pragma once

#include "nodes/ownerless_message_box.h"

class Win32OwnerlessMessageBox : public OwnerlessMessageBox {
 public:
  void Show(const std::wstring& text) override;
};
