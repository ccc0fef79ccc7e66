// What both report pages share: their base look, and text placed in a page as text, never as markup (both
// escape every value through here).
#pragma once

#include <string>

// The look both report pages share (their page, headings and tables); each adds its own after it.
inline constexpr wchar_t kReportPageBaseStyle[] =
    L"body{font-family:\"Segoe UI\",Arial,sans-serif;margin:24px;color:#1b1b1b;background:#fff}"
    L"h1{font-size:22px;margin:0 0 12px}"
    L"h2{font-size:17px;margin:28px 0 8px;border-bottom:1px solid #ccc;padding-bottom:4px}"
    L"table{border-collapse:collapse;font-size:13px}"
    L"th,td{border:1px solid #d0d0d0;padding:4px 8px;text-align:left;vertical-align:top}";

inline std::wstring HtmlEscaped(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&#39;"; break;
      default: out += c;
    }
  }
  return out;
}
