// The registry seam over the real Win32 registry calls; codes are passed on unchanged.
#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <vector>

namespace {
HKEY ToKey(RegHandle handle) { return reinterpret_cast<HKEY>(handle); }
RegHandle ToHandle(HKEY key) { return reinterpret_cast<RegHandle>(key); }
}  // namespace

RegHandle Win32Registry::LocalMachine() const { return ToHandle(HKEY_LOCAL_MACHINE); }

Status Win32Registry::ConnectRegistry(const std::wstring& machineName, RegHandle* result) {
  HKEY key = nullptr;
  const LONG rc = RegConnectRegistryW(machineName.c_str(), HKEY_LOCAL_MACHINE, &key);
  if (rc == ERROR_SUCCESS) *result = ToHandle(key);
  return static_cast<Status>(rc);
}

Status Win32Registry::OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) {
  HKEY key = nullptr;
  const LONG rc = RegOpenKeyExW(ToKey(parent), subKey.c_str(), 0, KEY_READ, &key);
  if (rc == ERROR_SUCCESS) *result = ToHandle(key);
  return static_cast<Status>(rc);
}

Status Win32Registry::EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) {
  // One spare character so that a zero-sized request still passes a valid pointer.
  std::vector<wchar_t> buffer(static_cast<std::size_t>(bufferChars) + 1, L'\0');
  DWORD chars = bufferChars;
  const LONG rc = RegEnumKeyExW(ToKey(key), index, buffer.data(), &chars, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) name->assign(buffer.data(), chars);
  return static_cast<Status>(rc);
}

Status Win32Registry::QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) {
  DWORD bytes = *dataBytes;
  const LONG rc = RegQueryValueExW(ToKey(key), valueName.c_str(), nullptr, nullptr, static_cast<LPBYTE>(data), &bytes);
  // The size is meaningful on success and on ERROR_MORE_DATA (the size needed); otherwise it is left alone.
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) *dataBytes = bytes;
  return static_cast<Status>(rc);
}

Status Win32Registry::EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                                std::vector<std::uint8_t>* data) {
  // Buffers as large as the key's longest value name and data; a value that grew in between
  // answers 234 with the size it needs now, and the read is made again.
  DWORD nameChars = 0;
  DWORD dataBytes = 0;
  LONG rc = RegQueryInfoKeyW(ToKey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nameChars,
                             &dataBytes, nullptr, nullptr);
  if (rc != ERROR_SUCCESS) return static_cast<Status>(rc);
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<wchar_t> nameBuffer(static_cast<std::size_t>(nameChars) + 1, L'\0');
    std::vector<std::uint8_t> dataBuffer(static_cast<std::size_t>(dataBytes) + 1, 0);
    DWORD nameLength = nameChars + 1;
    DWORD bytes = dataBytes;
    DWORD valueType = 0;
    rc = RegEnumValueW(ToKey(key), index, nameBuffer.data(), &nameLength, nullptr, &valueType, dataBuffer.data(),
                       &bytes);
    if (rc == ERROR_SUCCESS) {
      name->assign(nameBuffer.data(), nameLength);
      *type = valueType;
      data->assign(dataBuffer.begin(), dataBuffer.begin() + bytes);
      return status::Success;
    }
    if (rc != ERROR_MORE_DATA) return static_cast<Status>(rc);
    // Either the name or the data outgrew its buffer; grow both past what they need now.
    nameChars = nameChars * 2 + 256;
    dataBytes = bytes > dataBytes ? bytes : dataBytes * 2 + 256;
  }
  return static_cast<Status>(rc);
}

Status Win32Registry::CloseKey(RegHandle key) { return static_cast<Status>(RegCloseKey(ToKey(key))); }
