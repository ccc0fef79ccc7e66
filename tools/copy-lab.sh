#!/usr/bin/env bash
# Copies a lab folder to a fresh folder: bash tools/copy-lab.sh SOURCE COPY
# A lab is data, files and folders only: a symbolic link (or a pipe, a device ...) anywhere in it is
# never followed nor copied, and the lab is refused for it with the entry named (exit 2). COPY is
# removed first, and made whole beside its place before it is renamed into it.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: bash tools/copy-lab.sh SOURCE COPY" >&2
  exit 2
fi
source_folder="$1"
copy="$2"
if [ -L "$source_folder" ] || [ ! -d "$source_folder" ]; then
  echo "$source_folder is no lab folder" >&2
  exit 2
fi
not_data="$(find "$source_folder" -mindepth 1 ! -type f ! -type d -print -quit)"
if [ -n "$not_data" ]; then
  echo "$not_data is a symbolic link or neither a file nor a folder: a lab holds files and folders only, so it is refused" >&2
  exit 2
fi
partial="$copy.partial-$$"
rm -rf -- "$copy" "$partial"
mkdir -p -- "$partial"
cp -R -P -- "$source_folder/." "$partial/"
mv -T -- "$partial" "$copy"
