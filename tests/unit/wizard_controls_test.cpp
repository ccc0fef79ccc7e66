// The control table against the dialog template the Windows program is built from, line by line.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/wizard_controls.h"

namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> FileLines(const std::string& name) {
  std::ifstream in(std::string(DUPLEX_RESOURCES_DIR) + "/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(Trimmed(line));
  return lines;
}

// The ids as the resource compiler sees them: resource.h's defines, and the two of windows.h's
// that the template uses.
std::map<std::string, int> ResourceIds() {
  std::map<std::string, int> ids = {{"IDOK", 1}, {"IDCANCEL", 2}};
  for (const std::string& line : FileLines("resource.h")) {
    std::istringstream words(line);
    std::string define;
    std::string name;
    std::string value;
    if (!(words >> define >> name >> value) || define != "#define") continue;
    if (value.front() == '(') value = value.substr(1, value.size() - 2);
    ids[name] = std::stoi(value, nullptr, 0);
  }
  return ids;
}

// A line's fields after its keyword, split at the commas outside quotes; quotes are taken off.
std::vector<std::string> Fields(std::string_view rest) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      if (quoted && i + 1 < rest.size() && rest[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == ',' && !quoted) {
      fields.push_back(Trimmed(field));
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(Trimmed(field));
  return fields;
}

// One control line of a template, as the table would declare it.
struct TemplateControl {
  std::string line;
  ControlKind kind;
  std::string label;
  std::string id;
  DialogRect rect;
  bool lowerCase;
};

TemplateControl ParseControl(const std::string& line) {
  const std::size_t blank = line.find_first_of(" \t");
  const std::string keyword = line.substr(0, blank);
  std::vector<std::string> f = Fields(line.substr(blank));
  TemplateControl control{line, ControlKind::Label, "", "", {}, false};
  std::size_t at = 0;  // the first field after the text and the id
  if (keyword == "EDITTEXT" || keyword == "COMBOBOX") {
    control.kind = keyword == "EDITTEXT" ? ControlKind::Entry : ControlKind::DropDown;
    control.id = f.at(0);
    at = 1;
  } else {
    control.label = f.at(0);
    control.id = f.at(1);
    at = 2;
  }
  std::string style = f.size() > at + 4 ? f[at + 4] : "";
  if (keyword == "CONTROL") {
    // CONTROL text, id, class, style, x, y, width, height
    const std::string& windowClass = f.at(2);
    style = f.at(3);
    at = 4;
    if (windowClass == "SysListView32") control.kind = ControlKind::List;
    if (windowClass == "Button") {
      control.kind =
          style.find("NOT WS_VISIBLE") != std::string::npos ? ControlKind::HiddenButton : ControlKind::Button;
    }
  }
  if (keyword == "GROUPBOX") control.kind = ControlKind::Frame;
  if (keyword == "PUSHBUTTON") control.kind = ControlKind::Button;
  if (keyword == "DEFPUSHBUTTON") control.kind = ControlKind::DefaultButton;
  control.rect = {std::stoi(f.at(at)), std::stoi(f.at(at + 1)), std::stoi(f.at(at + 2)), std::stoi(f.at(at + 3))};
  control.lowerCase = style.find("ES_LOWERCASE") != std::string::npos;
  return control;
}

// The template of `dialog`: its DIALOGEX line, its CAPTION and its control lines.
struct DialogTemplate {
  std::string header;
  std::string caption;
  std::vector<TemplateControl> controls;
};

DialogTemplate ReadTemplate(const std::string& dialog) {
  DialogTemplate found;
  bool inDialog = false;
  bool inControls = false;
  for (const std::string& line : FileLines("DuplexSetupAssistant.rc")) {
    if (!inDialog) {
      inDialog = line.rfind(dialog + " DIALOGEX", 0) == 0;
      if (inDialog) found.header = line;
    } else if (!inControls) {
      if (line.rfind("CAPTION", 0) == 0) found.caption = Fields(line.substr(7)).at(0);
      inControls = line == "BEGIN";
    } else if (line == "END") {
      break;
    } else if (!line.empty()) {
      found.controls.push_back(ParseControl(line));
    }
  }
  return found;
}

const char* KindName(ControlKind kind) {
  constexpr const char* kNames[] = {"label",  "entry",          "drop-down",     "frame",
                                    "button", "default button", "hidden button", "list"};
  return kNames[static_cast<int>(kind)];
}

}  // namespace

TEST(WizardControls, WindowMatchesTheDialogTemplate) {
  const DialogTemplate dialog = ReadTemplate("IDD_DUPLEXSETUPASSISTANT_DIALOG");
  ASSERT_FALSE(dialog.header.empty()) << "no main dialog in the .rc";
  const std::vector<std::string> header = Fields(dialog.header.substr(dialog.header.find("DIALOGEX") + 8));
  ASSERT_EQ(header.size(), 4U) << dialog.header;
  EXPECT_EQ(std::stoi(header[2]), kWizardWidth);
  EXPECT_EQ(std::stoi(header[3]), kWizardHeight);
  EXPECT_EQ(dialog.caption, kWizardCaption);
}

TEST(WizardControls, MatchTheDialogTemplateLineByLine) {
  const DialogTemplate dialog = ReadTemplate("IDD_DUPLEXSETUPASSISTANT_DIALOG");
  const std::map<std::string, int> ids = ResourceIds();
  ASSERT_EQ(dialog.controls.size(), std::size(kWizardControls));
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    const TemplateControl& line = dialog.controls[i];
    const WizardControl& control = kWizardControls[i];
    SCOPED_TRACE(line.line);
    ASSERT_EQ(ids.count(line.id), 1U) << "unknown id " << line.id;
    EXPECT_EQ(ids.at(line.id), control.id);
    EXPECT_STREQ(KindName(line.kind), KindName(control.kind));
    EXPECT_EQ(line.label, control.label);
    EXPECT_EQ(line.lowerCase, control.lowerCase);
    EXPECT_EQ(line.rect.x, control.rect.x);
    EXPECT_EQ(line.rect.y, control.rect.y);
    EXPECT_EQ(line.rect.width, control.rect.width);
    EXPECT_EQ(line.rect.height, control.rect.height);
  }
}
