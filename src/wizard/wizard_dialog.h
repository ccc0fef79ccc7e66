// The wizard window's logic: its entries, stage, step buttons, list and handlers, apart from any toolkit.
#pragma once

#include <cstdint>
#include <string>

#include "common/status.h"
#include "nodes/cnode.h"

class InstallLog;
class WizardView;
struct Platform;

class WizardDialog {
 public:
  WizardDialog(Platform& platform, InstallLog& log, WizardView& view);

  // Handlers, each run to completion on the window's thread.
  void OnInitDialog();
  void OnStep1();
  void OnStep2();
  void OnStep3();
  void OnReset();
  void OnExit();

  // Field exchange: `read` copies the controls into the entry strings (false when the
  // AutoStart domain is too long), otherwise the strings are shown in the controls.
  bool UpdateData(bool read);

  Status LoadDefaults();
  Status CollectNodeInformation();

  // 0 is stage 1 (Steps 1 and 2), 1 is stage 2 (Step 3); any other stored value is kept as is.
  std::int32_t WizardStage = 0;
  cNode Node2Info;
  cNode Node1Info;

  std::wstring Node2HostName;
  std::wstring Node1HostName;
  std::wstring ManagedHostName;
  std::wstring ManagedClanIp;
  std::wstring ManagedElanIp;
  std::wstring UserName;
  std::wstring WorkgroupDomainName;
  std::wstring BoardCount;
  std::wstring AutoStartDomain;
  std::wstring ClanTestIp;

 private:
  void EnableButtonsForStage();
  void CheckLocalFeature();
  std::wstring LocalComputerName();

  Platform& platform_;
  InstallLog& log_;
  WizardView& view_;
};

// The most characters the AutoStart domain entry takes.
constexpr int kAutoStartDomainMaxChars = 8;
