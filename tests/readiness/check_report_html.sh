#!/usr/bin/env bash
# Runs HTML Tidy over every readiness report (*.html) in a folder; any error or warning fails.
#   check_report_html.sh FOLDER
set -euo pipefail
shopt -s nullglob
reports=("$1"/*.html)
[ ${#reports[@]} -gt 0 ] || { echo "no report in $1"; exit 1; }
status=0
for report in "${reports[@]}"; do
  # -e: errors and warnings only; exit status 1 for warnings, 2 for errors.
  if tidy -quiet -errors -utf8 "$report"; then
    echo "$(basename "$report"): clean"
  else
    echo "$(basename "$report"): tidy found problems"
    status=1
  fi
done
exit $status
