#!/usr/bin/env bash
# res/mirvan-desktop as the desktop starts it, with a stand-in bar beside it
# that records its folder and arguments: where it runs and what document it
# gets, and the starts it must refuse, with a line saying why.
set -uo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/mirvan-desktop.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/bin" "$tmp/home" "$tmp/docs" "$tmp/launch"
cp "$SRC/res/mirvan-desktop" "$tmp/bin/"
printf '#!/bin/sh\n{ pwd; for a in "$@"; do echo "$a"; done; } >"%s/bar.log"\n' "$tmp" >"$tmp/bin/mirvan"
chmod +x "$tmp/bin/mirvan" "$tmp/bin/mirvan-desktop"

# launch FOLDER HOME ARG...: starts the launcher from FOLDER without
# XDG_CONFIG_HOME; its status, its error line in $tmp/err.
launch() {
  local folder=$1 home=$2
  shift 2
  rm -f "$tmp/bar.log"
  (cd "$folder" && env -u XDG_CONFIG_HOME HOME="$home" sh "$tmp/bin/mirvan-desktop" "$@") 2>"$tmp/err"
}

launch "$tmp/docs" "$tmp/home" a.tex || fail "a plain start failed: $(cat "$tmp/err")"
[ "$(sed -n 1p "$tmp/bar.log")" = "$tmp/home/.config/mirvan" ] || fail "ran in $(sed -n 1p "$tmp/bar.log")"
[ "$(sed -n 2p "$tmp/bar.log")" = "$tmp/docs/a.tex" ] || fail "got the document $(sed -n 2p "$tmp/bar.log")"

# Refused, with nothing created and no bar started.
for home in relhome ''; do
  launch "$tmp/launch" "$home" "$tmp/docs/a.tex" && fail "started with HOME='$home'"
  grep -q 'HOME is not an absolute path' "$tmp/err" || fail "no reason given for HOME='$home': $(cat "$tmp/err")"
  [ -z "$(ls -A "$tmp/launch")" ] || fail "HOME='$home' created $(ls -A "$tmp/launch")"
  [ ! -e "$tmp/bar.log" ] || fail "the bar started with HOME='$home'"
done

# Started in a folder that is gone: a relative document has nothing to be
# relative to; an absolute one is fine.
mkdir "$tmp/gone"
(cd "$tmp/gone" && rmdir "$tmp/gone" && env -u XDG_CONFIG_HOME HOME="$tmp/home" sh "$tmp/bin/mirvan-desktop" a.tex) \
  2>"$tmp/err" && fail "started on a relative document from a folder that is gone"
grep -q 'name the file with its full path' "$tmp/err" || fail "no reason given for the lost folder: $(cat "$tmp/err")"
[ ! -e "$tmp/bar.log" ] || fail "the bar started on $(sed -n 2p "$tmp/bar.log")"
mkdir "$tmp/gone"
(cd "$tmp/gone" && rmdir "$tmp/gone" && env -u XDG_CONFIG_HOME HOME="$tmp/home" sh "$tmp/bin/mirvan-desktop" "$tmp/docs/a.tex") \
  2>"$tmp/err" || fail "an absolute document from a folder that is gone: $(cat "$tmp/err")"
[ "$(sed -n 2p "$tmp/bar.log")" = "$tmp/docs/a.tex" ] || fail "got the document $(sed -n 2p "$tmp/bar.log")"
echo "PASS"
