#!/usr/bin/env bash
# A TeX error answered with x in the tool's console window: the compile
# fails, so compile-and-PDF converts nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
# One page is shipped out before the error, so a new .dvi exists after the
# aborted run and only the log tells that the user stopped it.
cat >"$DOC/broken.tex" <<'TEX'
\documentclass{jarticle}
\begin{document}
最初のページ。
\newpage
二ページ目に未定義の命令 \undefinedcommand があります。
\end{document}
TEX
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start "$DOC/broken.tex"

e2e_press texpdf
# The console shows the tool and the document in its title.
console=$(e2e_wait_window 'platex.*broken|broken.*platex' 30) || e2e_fail "no console window for platex"
e2e_log "console $console: $(e2e_window_text "$console")"
e2e_type "$console" x
xdotool key --clearmodifiers Return
e2e_wait_idle

e2e_expect_eq "runs" "$(e2e_runs 1 "$DOC")" "platex broken"
grep -q '^? x' "$DOC/broken.log" || e2e_fail "the log does not show the answer x"
[ -s "$DOC/broken.dvi" ] || e2e_fail "platex left no .dvi (the abort test was not reached)"
[ ! -e "$DOC/broken.pdf" ] || e2e_fail "a PDF was made after the aborted compile"
# The console stays with the error and a last line saying the compile failed.
console=$(e2e_console) || e2e_fail "the console closed after the failed compile"
text=$(e2e_console_text "$console")
[[ "$text" == *'! Undefined control sequence.'* ]] || e2e_fail "no error lines in the console: $text"
last=$(grep -v '^$' <<<"$text" | tail -n1)
[[ "$last" == *'コンパイルに失敗しました'* ]] || e2e_fail "last line: $last"
e2e_pass "x at the TeX error prompt stops compile-and-PDF"
