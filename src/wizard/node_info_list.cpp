// The three-column list that shows the two servers side by side.
#include "wizard/node_info_list.h"

#include "nodes/cnode.h"
#include "wizard/wizard_view.h"

const std::vector<std::wstring>& NodeInfoRowLabels() {
  static const std::vector<std::wstring> labels = {L"Host name",
                                                   L"Switch IP Address",
                                                   L"CLAN IP Address",
                                                   L"CLAN Subnet Mask",
                                                   L"CLAN Subnet",
                                                   L"CLAN Default Gateway",
                                                   L"CLAN Domain",
                                                   L"ELAN IP Address",
                                                   L"ELAN Subnet Mask",
                                                   L"ELAN Subnet",
                                                   L"HB1 IP Address",
                                                   L"HB1 Subnet Mask",
                                                   L"Mirror IP Address",
                                                   L"Mirror Subnet Mask",
                                                   L"HB2 IP Address",
                                                   L"HB2 Subnet Mask",
                                                   L"HA Feature",
                                                   L"EMC Agent Service",
                                                   L"EMC Backbone Service",
                                                   L"EMC Mirror Service",
                                                   L"EMC Transport Service"};
  return labels;
}

std::wstring NodeInfoRowValue(const cNode& node, int row) {
  switch (row) {
    case 0: return node.HostName;
    case 1: return node.SwitchIpAddress;
    case 2: return node.Clan.IpAddress;
    case 3: return node.Clan.SubnetMask;
    case 4: return node.Clan.Subnet;
    case 5: return node.Clan.DefaultGateway;
    case 6: return node.Clan.Domain;
    case 7: return node.Elan.IpAddress;
    case 8: return node.Elan.SubnetMask;
    case 9: return node.Elan.Subnet;
    case 10: return node.Hb1.IpAddress;
    case 11: return node.Hb1.SubnetMask;
    case 12: return node.Mirror.IpAddress;
    case 13: return node.Mirror.SubnetMask;
    case 14: return node.Hb2.IpAddress;
    case 15: return node.Hb2.SubnetMask;
    case 16: return node.HaFeatureStatus;
    case 17: return node.AgentServiceStatus;
    case 18: return node.BackboneServiceStatus;
    case 19: return node.MirrorServiceStatus;
    case 20: return node.TransportServiceStatus;
    default: return {};
  }
}

namespace {
int RowCount(bool withServiceRows) { return kNodeInfoBaseRows + (withServiceRows ? kNodeInfoServiceRows : 0); }

void AppendLabelledRows(WizardView& view, bool withServiceRows) {
  const auto& labels = NodeInfoRowLabels();
  for (int row = 0; row < RowCount(withServiceRows); ++row) view.AppendListRow(labels[static_cast<std::size_t>(row)]);
}
}  // namespace

void BuildNodeInfoList(WizardView& view, bool withServiceRows) {
  view.SetListColumns({L"Item", L"Node 1", L"Node 2"}, kNodeInfoColumnWidth);
  AppendLabelledRows(view, withServiceRows);
}

void FillNodeInfoList(WizardView& view, const cNode& node1, const cNode& node2, bool withServiceRows) {
  for (int row = 0; row < RowCount(withServiceRows); ++row) {
    view.SetListCell(row, 1, NodeInfoRowValue(node1, row));
    view.SetListCell(row, 2, NodeInfoRowValue(node2, row));
  }
}

void RebuildNodeInfoList(WizardView& view) {
  view.RemoveAllListRows();
  AppendLabelledRows(view, false);
}
