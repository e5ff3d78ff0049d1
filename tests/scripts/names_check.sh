#!/usr/bin/env bash
# Test names are for people: every name ctest lists in build folder $1 is
# short and tells its case, never a dump of a parameter's bytes.
set -uo pipefail
cd "${1:?build folder}" || exit 1
names=$(ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')
[ -n "$names" ] || { echo "FAIL: ctest lists no tests" >&2; exit 1; }
bad=$(awk 'length($0) > 100 || /byte object/' <<<"$names")
if [ -n "$bad" ]; then
  echo "FAIL: unreadable test names:" >&2
  echo "$bad" >&2
  exit 1
fi
echo "PASS: $(wc -l <<<"$names") names"
