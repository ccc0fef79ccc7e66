#!/usr/bin/env bash
# tools/copy-lab.sh copies a lab of files and folders whole, and refuses one holding a link or a pipe
# with the entry named, following nothing and leaving no copy.
set -u
repo="$1"
work="$(mktemp -d)"
trap 'rm -rf -- "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

bash "$repo/tools/copy-lab.sh" "$repo/lab/demo" "$work/clean" || fail "the demo lab was not copied"
diff -r "$repo/lab/demo" "$work/clean" >/dev/null || fail "the copy differs from the demo lab"

mkdir -p "$work/elsewhere"
echo "not the lab's" > "$work/elsewhere/victim"
for kind in folder-link file-link pipe; do
  rm -rf -- "$work/lab" "$work/copy"
  cp -R "$repo/lab/demo" "$work/lab"
  case "$kind" in
    folder-link) entry="$work/lab/drives/E/Zandor/HA/out"; ln -s "$work/elsewhere" "$entry" ;;
    file-link) entry="$work/lab/servers/node-b/registry/zz.reg"; ln -s "$work/elsewhere/victim" "$entry" ;;
    pipe) entry="$work/lab/drives/D/values.dat"; mkfifo "$entry" ;;
  esac
  output="$(bash "$repo/tools/copy-lab.sh" "$work/lab" "$work/copy" 2>&1)"
  rc=$?
  [ "$rc" -eq 2 ] || fail "$kind: exit code $rc, not 2"
  case "$output" in
    "$entry is a symbolic link or neither a file nor a folder: "*) ;;
    *) fail "$kind: the entry is not named: $output" ;;
  esac
  [ ! -e "$work/copy" ] || fail "$kind: a copy was made"
done
exit "$failed"
