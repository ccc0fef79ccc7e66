// One server read for a capture: the registry keys the wizard reads, whole, and the clustering services' states.
#include "cli/server_capture.h"

#include "cli/reg_export.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "nodes/cluster_services.h"
#include "nodes/registry_paths.h"
#include "platform/platform.h"

namespace {
// A key name, terminator included, is at most 256 characters.
constexpr std::uint32_t kKeyNameBufferChars = 256;
constexpr std::uint32_t kRegSz = 1;  // REG_SZ

bool HoldsLineBreak(const std::wstring& name) { return name.find_first_of(L"\r\n") != std::wstring::npos; }

class ServerReader {
 public:
  ServerReader(Platform& platform, ServerCapture& capture) : platform_(platform), capture_(capture) {}

  void Read() {
    capture_.status = ReadRegistry();
    if (capture_.status == status::Success) capture_.status = ReadServices();
    if (capture_.status != status::Success) {
      capture_.files.clear();
      return;
    }
    if (!faults_.empty()) {
      std::wstring text = L"# What " + capture_.hostName + L" refused when it was captured, " + capture_.capturedAt +
                          L": the lab refuses the same.\r\n";
      for (const std::wstring& line : faults_) text += line + L"\r\n";
      capture_.files.push_back({"faults.conf", Utf8FromWide(text)});
    }
  }

 private:
  Status ReadRegistry() {
    Registry& registry = platform_.registry;
    RegKey connection(registry);
    const std::wstring machineName = L"\\\\" + capture_.hostName;
    Status rc = registry.ConnectRegistry(machineName, connection.Receive());
    if (rc != status::Success) {
      capture_.log.Error(FormatText(L"RegConnectRegistry(%s) failed. rc = %ld", {machineName, rc}));
      return rc;
    }
    const struct {
      const char* file;
      const wchar_t* key;
    } kParts[] = {{"network.reg", kNetworkClassKey}, {"tcpip.reg", kInterfacesKey}, {"product.reg", kProductKey}};
    for (const auto& part : kParts) {
      RegExport file;
      bool present = false;
      rc = ExportTree(connection.get(), part.key, part.key, file, &present);
      if (rc != status::Success) return rc;
      if (present) {
        capture_.files.push_back({std::string("registry/") + part.file, file.Bytes()});
      } else {
        capture_.log.Info(FormatText(L"%s has no key %s.", {capture_.hostName, part.key}));
      }
    }
    return status::Success;
  }

  // The key and everything below it, in the registry's order. A key that is not there is left
  // out (`present` false for the top key); one that refuses access becomes a deny-key fault.
  Status ExportTree(RegHandle parent, const std::wstring& subKey, const std::wstring& path, RegExport& file,
                    bool* present) {
    Registry& registry = platform_.registry;
    RegKey key(registry);
    Status rc = registry.OpenKey(parent, subKey, key.Receive());
    if (rc == status::FileNotFound) return status::Success;
    if (rc == status::AccessDenied) {
      faults_.push_back(L"deny-key = " + path);
      if (present != nullptr) *present = true;
      return status::Success;
    }
    if (rc != status::Success) return Failed(L"RegOpenKeyEx", path, rc);
    if (present != nullptr) *present = true;
    file.Key(path);
    for (std::uint32_t index = 0;; ++index) {
      std::wstring name;
      std::uint32_t type = 0;
      std::vector<std::uint8_t> data;
      rc = registry.EnumValue(key.get(), index, &name, &type, &data);
      if (rc == status::NoMoreItems) break;
      if (rc != status::Success) return Failed(L"RegEnumValue", path, rc);
      if (HoldsLineBreak(name)) return UnexportableName(path, L"value", name);
      if (type == kRegSz && path == kProductKey && name == kSwitchIpAddressValue) {
        capture_.switchAddress = WideFromUtf16LeBytes(data.data(), data.size()).c_str();
      }
      file.Value(name, type, data);
    }
    for (std::uint32_t index = 0;; ++index) {
      std::wstring name;
      rc = registry.EnumKey(key.get(), index, kKeyNameBufferChars, &name);
      if (rc == status::NoMoreItems) return status::Success;
      if (rc != status::Success) return Failed(L"RegEnumKeyEx", path, rc);
      if (HoldsLineBreak(name)) return UnexportableName(path, L"subkey", name);
      rc = ExportTree(key.get(), name, path + L"\\" + name, file, nullptr);
      if (rc != status::Success) return rc;
    }
  }

  Status ReadServices() {
    ServiceControl& services = platform_.services;
    ScopedScHandle manager(services);
    Status rc = services.OpenServiceManager(capture_.hostName, manager.Receive());
    if (rc != status::Success) {
      capture_.log.Error(FormatText(L"OpenSCManager(%s) failed. rc = %ld", {capture_.hostName, rc}));
      return rc;
    }
    std::wstring text = L"# The clustering services of " + capture_.hostName + L" as interrogation found them, " +
                        capture_.capturedAt + L".\r\n# A service that is not installed is not listed.\r\n";
    for (const std::wstring& name : capture_.serviceNames) {
      std::uint32_t state = 0;
      rc = ReadService(manager.get(), name, &state);
      if (rc != status::Success) return rc;
      if (state == 0) continue;
      text += FormatText(L"\r\nSERVICE_NAME: %s\r\n        STATE              : %ld  %s\r\n",
                         {name, static_cast<long>(state), ServiceStateWord(state)});
    }
    capture_.files.push_back({"services.txt", Utf8FromWide(text)});
    return status::Success;
  }

  // The service's state, 0 when it is not installed; a service that refuses or does not answer
  // is listed as running, with the fault that makes the lab's answer the same.
  Status ReadService(ScHandle manager, const std::wstring& name, std::uint32_t* state) {
    ServiceControl& services = platform_.services;
    ScopedScHandle service(services);
    Status rc = services.OpenNamedService(manager, name, service.Receive());
    if (rc == status::ServiceDoesNotExist) return status::Success;
    if (rc == status::AccessDenied) {
      faults_.push_back(L"deny-service = " + name);
      *state = 4;
      return status::Success;
    }
    if (rc != status::Success) return Failed(L"OpenService", name, rc);
    rc = services.Interrogate(service.get(), state);
    switch (rc) {
      case status::Success: return status::Success;
      case status::ServiceNotActive: *state = 1; return status::Success;
      case status::ServiceRequestTimeout: faults_.push_back(L"service-timeout = " + name); break;
      case status::ServiceCannotAcceptCtrl: faults_.push_back(L"service-busy = " + name); break;
      default: return Failed(L"ControlService", name, rc);
    }
    *state = 4;
    return status::Success;
  }

  // An export is a text of lines: a name with a line break in it can't be written so that it reads
  // back as itself (regedit's own export can't either), and would put lines of its own into the
  // file. The server is not captured.
  Status UnexportableName(const std::wstring& key, const wchar_t* kind, const std::wstring& name) {
    std::wstring shown = name;
    for (wchar_t& c : shown) c = (c == L'\r' || c == L'\n') ? L' ' : c;
    // Said on the console as well: the capture is incomplete for a reason no code tells.
    capture_.log.Show(FormatText(
        L"The key %s has a %s whose name holds a line break (\"%s\"), which a registry export can't hold: %s is "
        L"not captured.",
        {key, kind, shown, capture_.hostName}));
    return status::InvalidData;
  }

  Status Failed(const wchar_t* call, const std::wstring& what, Status rc) {
    capture_.log.Error(FormatText(L"%s(%s) failed. rc = %ld", {call, what, rc}));
    return rc;
  }

  Platform& platform_;
  ServerCapture& capture_;
  std::vector<std::wstring> faults_;
};
}  // namespace

void CaptureServer(Platform& platform, ServerCapture& capture) { ServerReader(platform, capture).Read(); }
