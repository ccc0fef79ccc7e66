#include <gtest/gtest.h>

#include <string>

#include "validation/ip_address_syntax.h"

TEST(IsValidIPAddress, TestsTheShapeOnly) {
  struct Case {
    const wchar_t* text;
    bool valid;
  };
  const Case cases[] = {
      {L"10.1.1.1", true},
      {L"255.255.255.0", true},
      {L"127.0.0.1", true},
      {L"300.1.1.1", true},    // no range check
      {L"0999.1.1.1", true},   // no leading-zero rule
      {L"1x.2y.3z.4w", true},  // a digit anywhere in a piece is enough
      {L"1.2.3.4.5", true},    // the fourth piece is "4.5"
      {L" 10.1.1.1", true},    // no trimming
      {L"10.1.1", false},      // two dots
      {L"10.1.1.", false},     // empty fourth piece
      {L"10..1.1", false},     // empty second piece
      {L".1.1.1", false},      // empty first piece
      {L"x.y.z.w", false},
      {L"1.2.3.x", false},
      {L"1.2.x.4", false},
      {L"", false},
      {L"\x0661.\x0662.\x0663.\x0664", false},  // only 0-9 are digits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(IsValidIPAddress(c.text), c.valid);
  }
}

TEST(IsValidIPAddress, LeavesTheCallersTextAlone) {
  const std::wstring text = L"10.1.1.1";
  EXPECT_TRUE(IsValidIPAddress(text));
  EXPECT_EQ(text, L"10.1.1.1");
}
