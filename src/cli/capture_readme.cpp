// How to rehearse a capture.
#include "cli/capture_readme.h"

#include "common/text_format.h"

std::vector<std::wstring> CaptureRehearsalLines(const std::wstring& folderName, const std::wstring& domain) {
  const std::wstring given = L"/path/to/" + folderName;
  const std::wstring copy = L"/tmp/" + folderName;
  const std::wstring shownDomain = domain.empty() ? std::wstring(L"DOMAIN") : domain;
  const std::wstring domainFolder = L"drives/D/Program Files/EMC AutoStart/" + shownDomain;
  return {
      L"Rehearse it with the lab edition, in a checkout of its source (docs/capture.md): the window",
      L"on a fresh copy of this folder,",
      L"",
      L"  bash tools/demo.sh " + given,
      L"",
      L"or by hand, on a copy (a lab holds files and folders only: one with a link is refused):",
      L"",
      L"  bash tools/copy-lab.sh " + given + L" " + copy,
      L"  DUPLEX_SETUP_LAB=" + copy + L" ./build/linux/DuplexSetupAssistant",
      L"  DUPLEX_SETUP_LAB=" + copy + L" ./build/linux/DuplexSetupAssistant check",
      L"",
      FormatText(L"Step 3 and the command generate need the product's manifest for the domain %s. When the",
                 {shownDomain}),
      L"capture has none (Product above: the product is not installed there for it), copy the",
      L"bundled demo's into the copy; the lab plays the product's installer itself:",
      L"",
      L"  mkdir -p \"" + copy + L"/" + domainFolder + L"\"",
      L"  cp \"lab/demo/drives/D/Program Files/EMC AutoStart/ha1/manifest\" \"" + copy + L"/" + domainFolder + L"/\"",
      L"  DUPLEX_SETUP_LAB=" + copy + L" ./build/linux/DuplexSetupAssistant generate",
      L"",
      L"Step 3 then ends with \"Phase 2 Complete\", and its definition file is in the copy's",
      L"drives/D/Zandor/HA/ToolkitInstaller2.0.",
  };
}
