// The wizard window's controls, declared once: what the logic, the lab edition and the scripts know of each.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "common/text_case.h"
#include "resource.h"

// What a control is, as its line in the dialog template says (LTEXT, EDITTEXT, COMBOBOX, GROUPBOX,
// PUSHBUTTON, DEFPUSHBUTTON, the hidden Cancel button and the list view).
enum class ControlKind { Label, Entry, DropDown, Frame, Button, DefaultButton, HiddenButton, List };

// A rectangle in dialog units, as the template writes it: left, top, width, height.
struct DialogRect {
  int x;
  int y;
  int width;
  int height;
};

struct WizardControl {
  int id;                 // IDC_STATIC_LABEL for labels and frames
  std::string_view name;  // as scenario scripts and transcripts call it; empty for labels and frames
  // The lab edition's name for the control's widget (its object name), by which its tests find it.
  std::string_view widget;
  std::string_view label;  // the text the control shows: a label's, a frame's title, a button's caption
  ControlKind kind;
  bool lowerCase;  // the entry folds what is typed to lower case (ES_LOWERCASE in the template)
  int textLimit;   // the most characters the entry takes; 0 for no limit of its own
  DialogRect rect;
};

inline constexpr std::string_view kWizardCaption = "Duplex Setup Assistant";
inline constexpr int kWizardWidth = 490;
inline constexpr int kWizardHeight = 338;

// A drop-down list's template height includes its dropped list; closed, it is as tall as an entry.
inline constexpr int kClosedDropDownHeight = 14;

// In the template's order, which is also the tab order. tests/unit/wizard_controls_test.cpp holds
// this table against resources/DuplexSetupAssistant.rc line by line.
// One control a line, as the template writes them.
// clang-format off
inline constexpr WizardControl kWizardControls[] = {
    // id, name, widget, label, kind, lower case, limit, rectangle
    {IDC_STATIC_LABEL, "", "", "Managed CLAN Host Name", ControlKind::Label, false, 0, {34, 9, 89, 8}},
    {IDC_MANAGED_HOST_NAME, "managed-host", "managedHostNameEdit", "", ControlKind::Entry, true, 0, {131, 6, 92, 14}},
    {IDC_STATIC_LABEL, "", "", "Managed CLAN IP", ControlKind::Label, false, 0, {34, 28, 60, 8}},
    {IDC_MANAGED_CLAN_IP, "managed-clan-ip", "managedClanIpEdit", "", ControlKind::Entry, false, 0, {131, 26, 92, 14}},
    {IDC_STATIC_LABEL, "", "", "Managed ELAN IP", ControlKind::Label, false, 0, {34, 48, 60, 8}},
    {IDC_MANAGED_ELAN_IP, "managed-elan-ip", "managedElanIpEdit", "", ControlKind::Entry, false, 0, {131, 46, 92, 14}},
    {IDC_STATIC_LABEL, "", "", "Node 1 Host Name", ControlKind::Label, false, 0, {34, 68, 62, 8}},
    {IDC_NODE1_HOST_NAME, "node1", "node1HostNameEdit", "", ControlKind::Entry, true, 0, {131, 66, 94, 14}},
    {IDC_STATIC_LABEL, "", "", "Node 2 Host Name", ControlKind::Label, false, 0, {34, 87, 62, 8}},
    {IDC_NODE2_HOST_NAME, "node2", "node2HostNameEdit", "", ControlKind::Entry, true, 0, {131, 84, 94, 14}},
    {IDC_STATIC_LABEL, "", "", "Number of TMX48 Boards", ControlKind::Label, false, 0, {244, 10, 83, 8}},
    {IDC_BOARD_COUNT, "boards", "boardCountCombo", "", ControlKind::DropDown, false, 0, {357, 6, 95, 45}},
    {IDC_STATIC_LABEL, "", "", "User name", ControlKind::Label, false, 0, {243, 29, 35, 8}},
    {IDC_USER_NAME, "user", "userNameEdit", "", ControlKind::Entry, true, 0, {358, 25, 94, 14}},
    {IDC_STATIC_LABEL, "", "", "Server Workgroup / Domain Name", ControlKind::Label, false, 0, {243, 49, 111, 8}},
    {IDC_WORKGROUP_DOMAIN_NAME, "domain", "workgroupDomainNameEdit", "", ControlKind::Entry, true, 0,
     {358, 45, 94, 14}},
    {IDC_STATIC_LABEL, "", "", "EMC AutoStart Domain Name", ControlKind::Label, false, 0, {243, 69, 94, 8}},
    {IDC_AUTOSTART_DOMAIN, "autostart-domain", "autoStartDomainEdit", "", ControlKind::Entry, false, 8,
     {358, 65, 94, 14}},
    {IDC_STATIC_LABEL, "", "", "CLAN Test IP", ControlKind::Label, false, 0, {243, 84, 44, 8}},
    {IDC_CLAN_TEST_IP, "clan-test-ip", "clanTestIpEdit", "", ControlKind::Entry, false, 0, {359, 83, 94, 14}},
    {IDC_STATIC_LABEL, "", "stage1Group", "Stage 1", ControlKind::Frame, false, 0, {24, 104, 275, 36}},
    {IDC_STATIC_LABEL, "", "stage2Group", "Stage 2", ControlKind::Frame, false, 0, {308, 104, 137, 36}},
    {IDC_STEP1, "step1", "step1Button", "Step 1: Get Node Information", ControlKind::Button, false, 0,
     {37, 116, 109, 17}},
    {IDC_STEP2, "step2", "step2Button", "Step 2: Validate Node Information", ControlKind::Button, false, 0,
     {166, 116, 119, 17}},
    {IDC_STEP3, "step3", "step3Button", "Step 3: Generate Definition File", ControlKind::Button, false, 0,
     {317, 116, 116, 17}},
    {IDOK_EXIT, "exit", "exitButton", "Exit", ControlKind::DefaultButton, false, 0, {221, 317, 50, 14}},
    // Escape and the close box send Cancel; the button itself is never seen.
    {IDCANCEL_HIDDEN, "cancel", "cancelButton", "Cancel", ControlKind::HiddenButton, false, 0, {282, 317, 50, 14}},
    {IDC_RESET, "reset", "resetButton", "Reset", ControlKind::Button, false, 0, {414, 148, 51, 15}},
    {IDC_NODE_INFO_LIST, "list", "nodeInfoList", "", ControlKind::List, false, 0, {62, 146, 335, 167}},
};
// clang-format on

constexpr bool IsButton(ControlKind kind) {
  return kind == ControlKind::Button || kind == ControlKind::DefaultButton || kind == ControlKind::HiddenButton;
}

// The control with `id`, or null; labels and frames share one id and are never found by it.
constexpr const WizardControl* FindControl(int id) {
  if (id == IDC_STATIC_LABEL) return nullptr;
  for (const WizardControl& control : kWizardControls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

// The entry or the button a script names, or null.
constexpr const WizardControl* FindEntryControl(std::string_view name) {
  for (const WizardControl& control : kWizardControls) {
    if (control.kind == ControlKind::Entry && control.name == name) return &control;
  }
  return nullptr;
}
constexpr const WizardControl* FindButtonControl(std::string_view name) {
  for (const WizardControl& control : kWizardControls) {
    if (IsButton(control.kind) && control.name == name) return &control;
  }
  return nullptr;
}

// The text of the label that stands before control `id` in the template (an entry's name on the
// window), or empty.
constexpr std::string_view ControlLabel(int id) {
  std::string_view label;
  for (const WizardControl& control : kWizardControls) {
    if (control.id == id && id != IDC_STATIC_LABEL) return label;
    label = control.kind == ControlKind::Label ? control.label : std::string_view();
  }
  return {};
}

// `text` as the entry `id` holds it: folded to lower case when the entry folds what is typed.
inline std::wstring AsEntryHolds(int id, std::wstring text) {
  const WizardControl* control = FindControl(id);
  return control != nullptr && control->lowerCase ? ToLowerAscii(std::move(text)) : text;
}
