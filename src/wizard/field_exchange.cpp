// Field exchange between the ten entry strings and the window's controls.
#include <utility>
#include <vector>

#include "common/text_case.h"
#include "common/text_format.h"
#include "resource.h"
#include "wizard/wizard_controls.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
// The first item whose text begins with `text`, ignoring case, as a sorted drop-down list selects it.
int FindItemByPrefix(const std::vector<std::wstring>& items, const std::wstring& text) {
  if (text.empty()) return -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (StartsWithIgnoringAsciiCase(items[i], text)) return static_cast<int>(i);
  }
  return -1;
}

// The toolkit's own prompt for an entry holding more than its limit.
std::wstring LimitPrompt(int limit) { return FormatText(L"Please enter no more than %d characters.", {limit}); }
}  // namespace

std::vector<std::pair<int, std::wstring*>> WizardDialog::EntryFields() {
  // The exchange order of the window, which is neither its tab order nor the defaults file's order.
  return {{IDC_NODE2_HOST_NAME, &Node2HostName},
          {IDC_NODE1_HOST_NAME, &Node1HostName},
          {IDC_MANAGED_HOST_NAME, &ManagedHostName},
          {IDC_MANAGED_CLAN_IP, &ManagedClanIp},
          {IDC_MANAGED_ELAN_IP, &ManagedElanIp},
          {IDC_USER_NAME, &UserName},
          {IDC_WORKGROUP_DOMAIN_NAME, &WorkgroupDomainName},
          {IDC_BOARD_COUNT, &BoardCount},
          {IDC_AUTOSTART_DOMAIN, &AutoStartDomain},
          {IDC_CLAN_TEST_IP, &ClanTestIp}};
}

bool WizardDialog::UpdateData(bool read) {
  for (const auto& [controlId, field] : EntryFields()) {
    if (controlId == IDC_BOARD_COUNT) {
      if (read) {
        const auto items = view_.BoardCountItems();
        const int chosen = view_.BoardCountSelection();
        *field = chosen >= 0 && chosen < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(chosen)]
                                                                        : std::wstring();
      } else {
        view_.SetBoardCountSelection(FindItemByPrefix(view_.BoardCountItems(), *field));
      }
      continue;
    }
    const int limit = FindControl(controlId)->textLimit;
    if (!read) {
      view_.SetEntryText(controlId, AsEntryHolds(controlId, *field));
      if (limit > 0) view_.SetEntryLimit(controlId, limit);
      continue;
    }
    const std::wstring text = view_.EntryText(controlId);
    *field = AsEntryHolds(controlId, text);
    if (limit > 0 && static_cast<int>(text.size()) > limit) {
      // The toolkit's own prompt; the read stops here, so the later entries keep their values.
      view_.ShowMessage(LimitPrompt(limit), L"");
      view_.FocusEntry(controlId);
      return false;
    }
  }
  return true;
}

std::wstring WizardDialog::RefusedEntry(int* controlId) {
  for (const auto& [id, field] : EntryFields()) {
    *controlId = id;
    if (id == IDC_BOARD_COUNT) {
      const std::vector<std::wstring> items = view_.BoardCountItems();
      if (field->empty() || FindItemByPrefix(items, *field) >= 0) continue;
      std::wstring list;
      for (const std::wstring& item : items) list += (list.empty() ? L"" : L", ") + item;
      return FormatText(L"\"%s\" is not one of the list's items (%s).", {*field, list});
    }
    const int limit = FindControl(id)->textLimit;
    if (limit > 0 && static_cast<int>(field->size()) > limit) return LimitPrompt(limit);
  }
  *controlId = 0;
  return {};
}
