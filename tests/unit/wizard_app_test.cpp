#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/wizard_app.h"
#include "support/wizard_on_lab.h"

TEST(WizardApp, BannersBracketARunThatTheFeatureCheckEnds) {
  TempLab temp;
  temp.SetHighAvailMode(L"NODE-A", -1);
  WizardOnLab wizard(temp);
  const bool result = WizardApp(wizard.log).InitInstance([&] { wizard.dialog.OnInitDialog(); });
  EXPECT_FALSE(result) << "no message loop follows the window";
  const std::wstring separator(70, L'=');
  EXPECT_EQ(wizard.log.Messages(),
            (std::vector<std::wstring>{separator, L"Duplex Setup Wizard Launched",
                                       L"The high availability feature is not currently installed on the server",
                                       L"Exiting the Duplex Setup Wizard", separator}));
  for (const auto& line : wizard.log.lines) EXPECT_EQ(line.messageClass, LogClass::LogInfo);
  EXPECT_EQ(wizard.view.endedWith, std::vector<int>{kDialogResultOk});
}
