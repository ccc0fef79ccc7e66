// The wizard on a lab holding a healthy cluster pair, with the entries a user types for it.
#pragma once

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

// The readiness findings the pair gives: each node's CLAN holds a second address.
constexpr wchar_t kClusterLabFindingA[] =
    L"[INFO] R11 CLAN: CLAN of node-a holds 2 addresses (10.1.1.1, 10.1.1.200); only the first, 10.1.1.1, is used";
constexpr wchar_t kClusterLabFindingB[] =
    L"[INFO] R11 CLAN: CLAN of node-b holds 2 addresses (10.1.1.2, 10.1.1.200); only the first, 10.1.1.2, is used";
