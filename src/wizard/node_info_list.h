// The three-column list that shows the two servers side by side: its columns, rows and their values.
#pragma once

#include <string>
#include <vector>

class cNode;
class WizardView;

constexpr int kNodeInfoColumnWidth = 150;
constexpr int kNodeInfoBaseRows = 17;
constexpr int kNodeInfoServiceRows = 4;

// The row labels in list order; the last four are the service rows of a stage 2 window.
const std::vector<std::wstring>& NodeInfoRowLabels();

// The value a row shows for one server.
std::wstring NodeInfoRowValue(const cNode& node, int row);

// Columns and labelled rows as the window opens; the service rows only when `withServiceRows`.
void BuildNodeInfoList(WizardView& view, bool withServiceRows);
// Column 1 from `node1`, column 2 from `node2`, row by row from row 0.
void FillNodeInfoList(WizardView& view, const cNode& node1, const cNode& node2, bool withServiceRows);
// Back to the 17 labelled rows with empty values (Reset).
void RebuildNodeInfoList(WizardView& view);
