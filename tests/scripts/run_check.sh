#!/usr/bin/env bash
# scripts/run as a user types it from a folder of their own: it builds the
# program alone and hands it the document path as named from that folder.
# A stand-in cmake records the build; a stand-in program records its start.
set -uo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/mirvan-run.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/stub" "$tmp/build" "$tmp/docs/sub"
: >"$tmp/build/CMakeCache.txt"
printf '#!/bin/sh\necho "$*" >"%s/cmake.args"\n' "$tmp" >"$tmp/stub/cmake"
printf '#!/bin/sh\n{ pwd; for a in "$@"; do echo "$a"; done; } >"%s/mirvan.log"\n' "$tmp" >"$tmp/build/mirvan"
chmod +x "$tmp/stub/cmake" "$tmp/build/mirvan"

(cd "$tmp/docs" && MIRVAN_BUILD_DIR=$tmp/build PATH=$tmp/stub:$PATH "$SRC/scripts/run" sub/paper.tex) \
  >"$tmp/run.out" 2>&1 || { cat "$tmp/run.out" >&2; fail "scripts/run failed"; }
grep -q -- '--target mirvan' "$tmp/cmake.args" || fail "built more than the program: cmake $(cat "$tmp/cmake.args")"
grep -q 'building' "$tmp/run.out" || fail "scripts/run did not say what it builds"
[ "$(sed -n 2p "$tmp/mirvan.log")" = "$tmp/docs/sub/paper.tex" ] \
  || fail "the program got [$(sed -n 2p "$tmp/mirvan.log")], want $tmp/docs/sub/paper.tex"
echo "PASS"
