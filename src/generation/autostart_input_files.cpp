// The installer's two input files, line by line, and the steps that write them.
#include "generation/autostart_input_files.h"

#include "app/install_log.h"
#include "common/text_format.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"

namespace {
// The address the entry rules recommend when there is no CLAN: compared as text, exactly.
constexpr wchar_t kLoopbackAddress[] = L"127.0.0.1";
}  // namespace

std::vector<std::wstring> AutoStartIniLines(const WizardDialog& dialog) {
  return {L"[AutoStart]", L"VirtualElanIP=" + dialog.ManagedElanIp, L"VirtualHostname=" + dialog.ManagedHostName};
}

std::vector<std::wstring> PerlInputLines(const WizardDialog& dialog) {
  const cNode& node1 = dialog.Node1Info;
  const cNode& node2 = dialog.Node2Info;
  std::vector<std::wstring> lines = {
      node1.HostName,
      node2.HostName,
      node1.Elan.Subnet,
      node1.Elan.SubnetMask,
      node1.Elan.IpAddress,
      node2.Elan.IpAddress,
      node1.SwitchIpAddress,
      node1.Elan.IpAddress,
      node2.Elan.IpAddress,
      L"",
      dialog.ManagedElanIp,
      node1.SwitchIpAddress,
      node1.Clan.Subnet,
      node1.Clan.SubnetMask,
      node1.Clan.IpAddress,
      node2.Clan.IpAddress,
      dialog.ClanTestIp,
  };
  if (dialog.ClanTestIp != kLoopbackAddress) {
    lines.push_back(node1.Clan.IpAddress);
    lines.push_back(node2.Clan.IpAddress);
  }
  const std::wstring rest[] = {
      L"",
      dialog.ManagedClanIp,
      node1.Clan.DefaultGateway,
      node1.Hb1.IpAddress,
      node2.Hb1.IpAddress,
      node1.Hb2.IpAddress,
      node2.Hb2.IpAddress,
      node1.Mirror.IpAddress,
      node2.Mirror.IpAddress,
      dialog.UserName,
      dialog.WorkgroupDomainName,
      L"C",
  };
  lines.insert(lines.end(), std::begin(rest), std::end(rest));
  return lines;
}

Status WizardDialog::WriteAutoStartIni() {
  FileWriteStep failedStep = FileWriteStep::Open;
  const Status rc = WriteWholeTextFile(kAutoStartIniPath, AutoStartIniLines(*this), &failedStep);
  if (rc == status::Success) log_.Info(FormatText(L"INI file %s updated.", {kAutoStartIniPath}));
  return rc;
}

Status WizardDialog::WritePerlInputFile() {
  FileWriteStep failedStep = FileWriteStep::Open;
  const Status rc = WriteWholeTextFile(kPerlInputFilePath, PerlInputLines(*this), &failedStep);
  if (rc == status::Success) log_.Info(FormatText(L"Perl input file %s updated.", {kPerlInputFilePath}));
  return rc;
}
