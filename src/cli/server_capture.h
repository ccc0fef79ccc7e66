// One server read for a capture: the registry keys the wizard reads, whole, and the clustering services' states.
#pragma once

#include <string>
#include <vector>

#include "nodes/buffered_log.h"
#include "common/status.h"

struct Platform;

struct CapturedFile {
  std::string name;  // "network.reg", "services.txt" ...
  std::string bytes;
};

struct ServerCapture {
  std::wstring hostName;
  // The services to ask for: the four of the AutoStart domain, or the two of fixed name without one.
  std::vector<std::wstring> serviceNames;
  std::wstring capturedAt;  // "2026-12-08 14:30:05 on NODE-A", for the files' headers

  // 0, or the code of the call that kept the server from being read (then `files` is empty).
  Status status = status::Success;
  // The registry exports (network.reg, tcpip.reg, product.reg: a key the server lacks has no
  // file), services.txt, and faults.conf when the server refused a key or a service.
  std::vector<CapturedFile> files;
  BufferedLog log;
  // Its "Switch IP Address", as the product key holds it (empty without one): the capture's lab.conf
  // puts the switch on the ELAN wire, so that a rehearsal's probes find it as the site's did.
  std::wstring switchAddress;
};

// Reads the server through `platform` into `capture`. What the server refuses (access to a key
// or a service, a service that does not answer) is kept as faults.conf lines, so that the lab
// refuses it too; a key or service it lacks is left out, so that the lab lacks it too.
void CaptureServer(Platform& platform, ServerCapture& capture);
