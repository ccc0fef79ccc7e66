// Where the reading of one server has got to, told from the calls it makes through the seam.
#include "cli/stage_watch.h"

#include "common/text_case.h"
#include "nodes/registry_paths.h"

StageWatch::StageWatch(Platform& inner, Report report)
    : report_(std::move(report)),
      registry_(inner.registry, *this),
      services_(inner.services, *this),
      platform_{registry_, services_, inner.files, inner.machine, inner.processes, inner.network} {}

void StageWatch::Enter(const wchar_t* stage) {
  if (stage == current_) return;
  current_ = stage;
  report_(stage);
}

Status StageWatch::WatchingRegistry::ConnectRegistry(const std::wstring& machineName, RegHandle* result) {
  watch_.Enter(L"connecting to its registry");
  return inner().ConnectRegistry(machineName, result);
}

Status StageWatch::WatchingRegistry::OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) {
  // Each part of the server is read below one of these keys, which is opened first.
  static const struct {
    const wchar_t* key;
    const wchar_t* stage;
  } kParts[] = {{kNetworkClassKey, L"reading its network adapters"},
                {kInterfacesKey, L"reading its TCP/IP interfaces"},
                {kProductKey, L"reading the product's settings"}};
  for (const auto& part : kParts) {
    if (EqualsIgnoringAsciiCase(subKey, part.key)) watch_.Enter(part.stage);
  }
  return inner().OpenKey(parent, subKey, result);
}

Status StageWatch::WatchingServices::OpenServiceManager(const std::wstring& machine, ScHandle* result) {
  watch_.Enter(L"reading its services");
  return inner().OpenServiceManager(machine, result);
}
