// Conversions between the program's wide text and the byte forms it meets on disk and in the registry.
#include "common/text_encoding.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Walks wide text as Unicode code points, whether wchar_t holds UTF-16 (Windows) or UTF-32.
template <typename Visit>
void ForEachCodePoint(const std::wstring& text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      c &= 0xFFFF;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    visit(c);
  }
}

void AppendCodePoint(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(c);
}

}  // namespace

std::wstring WideFromUtf16LeBytes(const std::uint8_t* data, std::size_t bytes) {
  std::wstring out;
  out.reserve(bytes / 2);
  for (std::size_t i = 0; i + 1 < bytes; i += 2) {
    const char32_t unit = static_cast<char32_t>(data[i] | (data[i + 1] << 8));
    if constexpr (sizeof(wchar_t) == 2) {
      out += static_cast<wchar_t>(unit);
    } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes) {
      const char32_t low = static_cast<char32_t>(data[i + 2] | (data[i + 3] << 8));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
      } else {
        out += static_cast<wchar_t>(unit);
      }
    } else {
      out += static_cast<wchar_t>(unit);
    }
  }
  return out;
}

std::vector<std::uint8_t> Utf16LeBytesFromWide(const std::wstring& text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  auto put = [&out](char32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
  };
  ForEachCodePoint(text, [&](char32_t c) {
    if (c >= 0x10000) {
      c -= 0x10000;
      put(0xD800 + (c >> 10));
      put(0xDC00 + (c & 0x3FF));
    } else {
      put(c);
    }
  });
  return out;
}

std::string SingleByteFromWide(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  ForEachCodePoint(text, [&](char32_t c) { out += c <= 0xFF ? static_cast<char>(c) : '?'; });
  return out;
}

std::wstring WideFromSingleByte(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (const char b : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(b));
  return out;
}

std::string Utf8FromWide(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  ForEachCodePoint(text, [&](char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  });
  return out;
}

std::wstring WideFromUtf8(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      c = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      c = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      c = lead & 0x07;
      extra = 3;
    } else {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size()) {
      AppendCodePoint(out, kReplacement);
      break;
    }
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid) {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    AppendCodePoint(out, c);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}
