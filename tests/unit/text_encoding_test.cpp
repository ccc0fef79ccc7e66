#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/text_encoding.h"

TEST(TextEncoding, Utf16LeRoundTripsEveryPlane) {
  const std::wstring text = L"CLAN \u00E9\u4E2D" + std::wstring(WideFromUtf8("\xF0\x9F\x98\x80"));
  const std::vector<std::uint8_t> bytes = Utf16LeBytesFromWide(text);
  EXPECT_EQ(bytes.size(), 2u * 7u + 4u) << "the emoji takes a surrogate pair";
  EXPECT_EQ(WideFromUtf16LeBytes(bytes.data(), bytes.size()), text);
}

TEST(TextEncoding, OddTrailingRegistryByteIsDropped) {
  const std::uint8_t data[] = {'A', 0, 'B', 0, 'C'};
  EXPECT_EQ(WideFromUtf16LeBytes(data, sizeof data), L"AB");
}

TEST(TextEncoding, SingleByteFilesKeepLatin1AndMarkTheRest) {
  EXPECT_EQ(SingleByteFromWide(L"caf\u00E9 \u4E2D"), "caf\xE9 ?");
  EXPECT_EQ(WideFromSingleByte("caf\xE9"), L"caf\u00E9");
}

TEST(TextEncoding, Utf8RoundTripsAndReplacesBrokenSequences) {
  const std::wstring text = L"Gr\u00FC\u00DFe \u4E2D";
  EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
  EXPECT_EQ(WideFromUtf8("a\xC3"), L"a\uFFFD");
  EXPECT_EQ(WideFromUtf8("a\x80z"), L"a\uFFFDz");
}
