// What reading a server's .reg export costs as it grows: many values in one key, and one value
// continued over many lines. Both must grow linearly; the fit is Google Benchmark's own.
//
//   reg_file_bench [--benchmark_filter=...]
//
// Each case reads a version 5 export (UTF-16LE, CR LF, as `reg export` writes it) held in memory,
// into a fresh tree. BigO and RMS below each family say how well time follows N.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "common/text_encoding.h"
#include "platform/lab/reg_file.h"

namespace {

std::string Version5Export(const std::wstring& body) {
  const auto bytes = Utf16LeBytesFromWide(L"Windows Registry Editor Version 5.00\r\n\r\n" + body);
  return "\xFF\xFE" + std::string(bytes.begin(), bytes.end());
}

// N values in one key, half of them texts and half numbers, as a key of many settings holds.
std::string ManyValues(std::int64_t count) {
  std::wstring body = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zandor\\Vestamail\\Settings]\r\n";
  for (std::int64_t i = 0; i < count; ++i) {
    const std::wstring name = L"\"Setting " + std::to_wstring(i) + L"\"=";
    body += name + (i % 2 == 0 ? L"\"value " + std::to_wstring(i) + L"\"\r\n" : L"dword:0000002a\r\n");
  }
  return Version5Export(body);
}

// One multi-string whose data runs over N continuation lines of 25 bytes each, as reg export
// wraps long data.
std::string ManyContinuationLines(std::int64_t lines) {
  std::wstring body = L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n";
  body += L"\"IPAddress\"=hex(7):31,00,30,00,2e,00,31,00,2e,00,31,00,2e,00,31,00,31,00,00,00,\\\r\n";
  const std::wstring line = L"  31,00,30,00,2e,00,31,00,2e,00,31,00,2e,00,31,00,32,00,00,00,31,00,30,00,2e,\\\r\n";
  for (std::int64_t i = 0; i < lines; ++i) body += line;
  body += L"  00,00,00,00\r\n";
  return Version5Export(body);
}

void ReadExport(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
    RegFileError error;
    if (!ReadRegFile(bytes, root, &error)) {
      state.SkipWithError(("the export did not read: " + error.reason).c_str());
      return;
    }
  }
  state.SetComplexityN(state.range(0));
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_ReadValuesInOneKey(benchmark::State& state) { ReadExport(state, ManyValues(state.range(0))); }
BENCHMARK(BM_ReadValuesInOneKey)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ReadContinuationLines(benchmark::State& state) { ReadExport(state, ManyContinuationLines(state.range(0))); }
BENCHMARK(BM_ReadContinuationLines)
    ->Arg(7500)
    ->Arg(15000)
    ->Arg(30000)
    ->Arg(60000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
