// Registry keys written as regedit exports them (version 5: UTF-16LE with byte-order mark, CR LF).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Keys and values are added in the order they are to appear; Bytes() is the file.
class RegExport {
 public:
  // "[HKEY_LOCAL_MACHINE\<path>]", after a blank line.
  void Key(const std::wstring& pathBelowLocalMachine);
  // One value of the key last added, written so that importing it gives back exactly `data`: a
  // string as "text" only when it is text, one terminator and no control character; a dword as
  // dword: only when it has four bytes; anything else as hex(type): bytes, wrapped as regedit wraps them.
  void Value(const std::wstring& name, std::uint32_t type, const std::vector<std::uint8_t>& data);

  // The whole export: byte-order mark, header, keys; every line ended by CR LF.
  std::string Bytes() const;
  const std::wstring& Text() const { return text_; }

 private:
  std::wstring text_ = L"Windows Registry Editor Version 5.00\r\n";
};
