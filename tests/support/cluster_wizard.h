// The wizard on a lab holding a healthy cluster pair, with the entries a user types for it.
#pragma once

#include <functional>
#include <string>

#include "support/cluster_server.h"
#include "support/wizard_on_lab.h"

// NODE-A is this computer and node 1; node-b is node 2; both run the services of domain ha1.
class ClusterLab {
 public:
  ClusterLab();
  TempLab temp{L"NODE-A"};
};

// Types into the view what a user types for the cluster pair: every rule met.
void TypeClusterEntries(RecordingView& view);

constexpr wchar_t kDefaultsPath[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";
// The stage-1 answers file of those entries, the CLAN test address 127.0.0.1.
constexpr char kClusterAnswers[] =
    "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";

// That file with its first line `stage` ("0" after Step 1, "1" after Step 2) and line `line` (0-10) replaced
// by `value` when given.
std::string ClusterAnswers(const std::string& stage = "0", int line = -1, const std::string& value = "");

// A change to the pair's lab before it is loaded, as a table's row names one.
using SiteChange = std::function<void(TempLab&)>;
// `line` added to lab.conf.
SiteChange LabConfLine(const std::string& line);
// `faults` as the faults.conf of `server`.
SiteChange ServerFaults(const std::wstring& server, const std::string& faults);
// ClusterAnswers(stage, line, value) as the defaults file.
SiteChange AnswersWith(const std::string& stage, int line, const std::string& value);

// The readiness findings the pair gives: each node's CLAN holds a second address.
constexpr wchar_t kClusterLabFindingA[] =
    L"[INFO] R11 CLAN: CLAN of node-a holds 2 addresses (10.1.1.1, 10.1.1.200); only the first, 10.1.1.1, is used";
constexpr wchar_t kClusterLabFindingB[] =
    L"[INFO] R11 CLAN: CLAN of node-b holds 2 addresses (10.1.1.2, 10.1.1.200); only the first, 10.1.1.2, is used";

// The live link probes' log lines of a Step 2 or Step 3 on the pair, from NODE-A: every link and the
// switch answer, the managed addresses are nobody's, the CLAN test address is 127.0.0.1.
inline const wchar_t* const kClusterLabProbeLines[] = {
    L"Link CLAN: 10.1.1.1 -> 10.1.1.2, 3 of 3 answered, 0.0 ms.",
    L"Link ELAN: 10.2.2.1 -> 10.2.2.2, 3 of 3 answered, 0.0 ms.",
    L"Link HB1: 10.3.3.1 -> 10.3.3.2, 3 of 3 answered, 0.0 ms.",
    L"Link HB2: 10.4.4.1 -> 10.4.4.2, 3 of 3 answered, 0.0 ms.",
    L"Link MIRROR: 10.5.5.1 -> 10.5.5.2, 3 of 3 answered, 0.0 ms.",
    L"Managed CLAN IP: 10.1.1.1 -> 10.1.1.5, 0 of 3 answered.",
    L"Managed ELAN IP: 10.2.2.1 -> 10.2.2.5, 0 of 3 answered.",
    L"Switch IP Address: 10.2.2.1 -> 10.9.9.1, 3 of 3 answered, 0.0 ms.",
};
