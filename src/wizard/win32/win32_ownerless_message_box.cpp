// The Windows program's owner-less box: MessageBoxW with no owner window.
#include "wizard/win32/win32_ownerless_message_box.h"

#include <windows.h>

void Win32OwnerlessMessageBox::Show(const std::wstring& text) {
  // No owner and no caption: the box carries the system's default title ("Error").
  MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK);
}
