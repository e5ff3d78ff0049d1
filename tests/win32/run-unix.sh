#!/bin/sh
# Started by Wine for standin.exe: runs the real Linux tool in the document's
# folder and leaves its exit status where the stand-in reads it. TeX Live
# has no jbibtex; pbibtex is its Japanese BibTeX.
tool=$1; shift
[ "$tool" = jbibtex ] && tool=pbibtex
PATH=/usr/bin:/bin; export PATH
/usr/bin/"$tool" "$@" </dev/null >>"${MIRVAN_UNIX_LOG:-/dev/null}" 2>&1
status=$?
echo $status >"$MIRVAN_TOOL_STATUS.tmp" && mv "$MIRVAN_TOOL_STATUS.tmp" "$MIRVAN_TOOL_STATUS"
