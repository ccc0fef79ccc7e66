// One node record wired to a lab, observed through a recording log and owner-less box.
#pragma once

#include <memory>

#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_registry.h"
#include "platform/lab/lab_services.h"
#include "support/recording_view.h"
#include "support/temp_lab.h"
#include "support/wizard_on_lab.h"

struct NodeOnLab {
  explicit NodeOnLab(const TempLab& tempLab, const std::wstring& hostName = L"node-b")
      : lab(WizardOnLab::LoadOrFail(tempLab)), platform(lab->MakePlatform()), node(platform, log, ownerlessBox) {
    node.HostName = hostName;
    node.AutoStartDomain = L"ha1";
  }

  // Opens the node's registry connection the way gathering does, for the operations that need it.
  Status Connect() { return lab->Registry().ConnectRegistry(L"\\\\" + node.HostName, node.RemoteRegistry.Receive()); }
  // Keys, connections and service handles still open.
  std::size_t OpenHandles() const { return lab->Registry().OpenHandleCount() + lab->Services().OpenHandleCount(); }

  std::unique_ptr<Lab> lab;
  RecordingLog log;
  RecordingOwnerlessBox ownerlessBox;
  Platform platform;
  cNode node;
};
