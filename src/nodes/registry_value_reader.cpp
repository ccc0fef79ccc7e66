// Reading one string value of a server's registry over the node's open connection.
#include <cstdint>

#include "app/install_log.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "nodes/cnode.h"

namespace {
// The reader's buffer holds 255 characters, but only 255 bytes of data are accepted into it:
// a string of 126 characters and its terminator fits, one of 127 does not.
constexpr std::uint32_t kValueDataLimitBytes = 255;
}  // namespace

Status cNode::GetRegKeyStringValue(std::wstring keyPath, std::wstring valueName, std::wstring& result) {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetRegKeyStringValue(%s, %s) failed. Registry handle is NULL.", {keyPath, valueName}));
    return status::InvalidHandle;
  }
  Registry& registry = platform_->registry;
  RegKey key(registry);
  Status rc = OpenRemoteKey(keyPath, key);
  if (rc != status::Success) return rc;
  std::uint8_t data[kValueDataLimitBytes] = {};
  std::uint32_t size = kValueDataLimitBytes;
  rc = registry.QueryValue(key.get(), valueName, data, &size);
  if (rc != status::Success) {
    log_->Error(FormatText(L"RegQueryValueEx(%s) failed. rc = %ld", {valueName, rc}));
    result.clear();
    return rc;
  }
  // Registry strings need not end in a NUL, and a multi-string holds several: the text runs to
  // the first NUL or to the end of the data actually returned, never beyond it. An odd last byte
  // is half a character and is dropped.
  std::wstring text = WideFromUtf16LeBytes(data, size < kValueDataLimitBytes ? size : kValueDataLimitBytes);
  const auto end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  result = std::move(text);
  return status::Success;
}

// Opens `keyPath` below the connection for reading; a failure is logged with the path.
Status cNode::OpenRemoteKey(const std::wstring& keyPath, RegKey& key) {
  const Status rc = platform_->registry.OpenKey(RemoteRegistry.get(), keyPath, key.Receive());
  if (rc != status::Success) log_->Error(FormatText(L"RegOpenKeyEx(%s) failed. rc = %ld", {keyPath, rc}));
  return rc;
}
