#!/usr/bin/env bash
# The release zip as a user receives it: unpacked into a fresh folder, holding exactly the four files, and its
# .com run through Wine's cmd.exe for version, help and check against a copy of the demo lab, with the exit
# codes README.txt documents.
#
#   unpacked_zip_test.sh WINE_RUNNER WINE_STATE ZIP DEMO_LAB ANSWERS VERSION WORK_FOLDER
set -euo pipefail
runner=$1 state=$2 zip=$3 demo=$4 answers=$5 version=$6 work=$7

fail() {
  echo "FAIL: $*"
  exit 1
}
# A Unix path as Wine's drive Z: names it.
on_z() { printf 'Z:%s' "${1//\//\\}"; }
# A file of the run without its CR LF line ends.
text() { tr -d '\r' <"$work/$1"; }

rm -rf "$work"
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
listing=$(cd "$work/unpacked" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$listing" = "./DuplexSetupAssistant.com ./DuplexSetupAssistant.exe ./README.txt ./SetupLogKit.dll " ] ||
  fail "the zip holds: $listing"
grep -q "^DuplexSetupAssistant $version - user's guide"$'\r'"$" "$work/unpacked/README.txt" ||
  fail "README.txt does not open with the version's title in CR LF lines"

cp -r "$demo" "$work/lab"
cp "$answers" "$work/answers.dat"

# Each command's output and %ERRORLEVEL% in files of their own; the command named without its extension,
# as a user types it, so that cmd.exe takes the .com before the .exe.
{
  printf '@echo off\r\ncd /d "%s"\r\n' "$(on_z "$work/unpacked")"
  printf 'set SETUPLOGKIT_LOG_FILE=%s\r\n' "$(on_z "$work/InstallLog.txt")"
  for command in version help; do
    printf 'DuplexSetupAssistant %s > "%s" 2>&1\r\n' "$command" "$(on_z "$work/$command.txt")"
    printf '> "%s" echo %%ERRORLEVEL%%\r\n' "$(on_z "$work/$command.rc")"
  done
  printf 'set DUPLEX_SETUP_LAB=%s\r\n' "$(on_z "$work/lab")"
  printf 'DuplexSetupAssistant check answers "%s" > "%s" 2>&1\r\n' "$(on_z "$work/answers.dat")" "$(on_z "$work/check.txt")"
  printf '> "%s" echo %%ERRORLEVEL%%\r\n' "$(on_z "$work/check.rc")"
} >"$work/run.cmd"

"$runner" run "$state" cmd /c "$(on_z "$work/run.cmd")" >"$work/wine.txt" 2>&1 || fail "cmd.exe: $(cat "$work/wine.txt")"

for run in version help check; do
  [ -f "$work/$run.rc" ] || fail "$run did not run: $(cat "$work/wine.txt")"
done
[ "$(text version.rc | tr -d ' ')" = "0" ] || fail "version exit code $(text version.rc)"
[ "$(text version.txt)" = "DuplexSetupAssistant $version (Windows edition)" ] || fail "version printed: $(text version.txt)"
[ "$(text help.rc | tr -d ' ')" = "0" ] || fail "help exit code $(text help.rc)"
text help.txt | grep -qx "  DuplexSetupAssistant version  *prints the program's version and edition" ||
  fail "help printed: $(text help.txt)"
# The library beside the program wrote the log: both runs ended there, and no fallback was needed.
[ "$(text InstallLog.txt | grep -c 'DuplexSetup INFO  Exit code 0\.$')" = 2 ] || fail "log: $(text InstallLog.txt)"

# The demo pair is healthy: check exits 0 and says so, and the report names this version and README.txt.
[ "$(text check.rc | tr -d ' ')" = "0" ] || fail "check exit code $(text check.rc): $(text check.txt)"
text check.txt | grep -q "^Summary: node-a and node-b; Step 2 validation passed; .* Exit code 0\.$" ||
  fail "check printed: $(text check.txt)"
report=$(find "$work/lab/drives/C/ProgramData/Zandor/Reports" -name 'readiness-*.html' | head -n 1)
[ -n "$report" ] || fail "no readiness report in the lab"
grep -q "Written by DuplexSetupAssistant $version (Windows edition)" "$report" || fail "report footer names no version"
grep -q "described in the README.txt that comes with the program" "$report" || fail "report footer names no README.txt"
echo "the unpacked zip runs: version, help and check as documented"
