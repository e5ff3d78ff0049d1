#!/usr/bin/env bash
# Mirvan.exe end to end under Wine, in a Japanese locale (ANSI code page 932)
# on a private X server with openbox: the bar's window, the sample compiled
# through the real TeX chain behind .exe stand-ins, the paper size dialog,
# the Settings dialog's jBibTeX chooser, typing into the MakeIndex options,
# the history across a restart and the About entry of the system menu.
#
# Usage: bar_under_wine.sh BUILD_WIN_DIR
# Environment: MIRVAN_WIN_SHOT=file.png saves a picture of the bar there.
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BUILD=$(cd "$1" && pwd)
BAR_TITLE='Mirvan: Drag & Drop TeX file'
PDFSIZE_TITLE='PDF 作成の用紙サイズ'
SETTINGS_TITLE='設定'
ABOUT_TITLE='Mirvanのﾊﾞｰｼﾞｮﾝ情報'

TMP=$(mktemp -d /tmp/mirvan-wine.XXXXXX)
PIDS=()
cleanup() {
  wineserver -k >/dev/null 2>&1
  local i
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null; wait "${PIDS[i]}" 2>/dev/null; done
  [ -n "${MIRVAN_E2E_KEEP:-}" ] || rm -rf "$TMP"
}
trap cleanup EXIT

log() { printf '[%s] %s\n' "$(date +%T)" "$*" >&2; }
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  import -window root "$TMP/failure.png" 2>/dev/null
  [ -f "$TOOL_LOG" ] && { echo "--- tool runs:"; cat "$TOOL_LOG"; } >&2
  [ -f "$WORK/Mirvan.ini" ] && { echo "--- Mirvan.ini:"; cat "$WORK/Mirvan.ini"; } >&2
  exit 1
}
pass() { echo "PASS: $*"; }
# Windows path of a Linux path (Wine's Z: drive is the root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# --- A display, a window manager without key bindings of its own (Alt+Space
# must reach the program's system menu), and a Wine prefix -----------------
for n in $(seq 90 140); do [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break; done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
cat >"$TMP/rc.xml" <<'XML'
<?xml version="1.0"?>
<openbox_config xmlns="http://openbox.org/3.4/rc"><keyboard></keyboard></openbox_config>
XML
openbox --config-file "$TMP/rc.xml" >/dev/null 2>&1 &
PIDS+=($!)

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX=$BUILD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || fail "wineboot"
# The dialogs' font, ＭＳ Ｐゴシック, is not here: its nearest Debian relative,
# IPA Pゴシック (fonts-ipafont-gothic), stands in, as proportional as it is.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPA Pゴシック' /f >/dev/null 2>&1 ||
  fail "font replacement"

# --- The TeX chain: stand-ins on the Windows PATH that run the real tools --
# The document's folder has a Japanese name whose second byte in CP932 is a
# backslash (表 = 0x95 0x5C): the path must cross the window, the settings
# file and the tool runs in the code page, split by its double-byte rules.
BIN=$TMP/bin WORK=$TMP/work DOC=$TMP/表示
mkdir -p "$BIN" "$WORK" "$DOC"
for t in platex jbibtex mendex dvipdfmx; do cp "$BUILD/standin.exe" "$BIN/$t.exe"; done
export WINEPATH=$(winpath "$BIN")
TOOL_LOG=$TMP/tools.log
# The tools run at once while this file is there; without it they wait.
GO=$TMP/go
touch "$GO"
export MIRVAN_STANDIN_HOLD=$(winpath "$GO")
export MIRVAN_TOOL_LOG=$(winpath "$TOOL_LOG") MIRVAN_TOOL_STATUS=$TOOL_LOG.status
export MIRVAN_UNIX_RUNNER=$(winpath "$HERE/run-unix.sh") MIRVAN_UNIX_LOG=$TMP/unix.log
cp -r "$ROOT/examples/." "$DOC/"
# As Windows writes it: CRLF. Index options given, so no index question.
printf '[Settings]\r\nMkIdxNvr=1\r\nMkIdxOpt=-s myindex\r\n' >"$WORK/Mirvan.ini"

wait_window() {  # title regex, seconds -> window id
  local end=$((SECONDS + ${2:-30})) w
  while [ $SECONDS -lt $end ]; do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}
wait_gone() {
  local end=$((SECONDS + 20))
  while [ $SECONDS -lt $end ]; do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.2; done
  return 1
}
# Clicks control ID of a window built on template TEMPL: its centre, from
# the template's dialog units scaled to the window's client size.
click() {
  local win=$1 templ=$2 id=$3 geo xy
  geo=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ { print $2 }')
  xy=$(/usr/bin/python3 - "$ROOT/res/dialogs/$templ.json" "$id" "$geo" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
w, h = map(int, sys.argv[3].split("x"))
c = next(c for c in d["controls"] if c["id"] == int(sys.argv[2]))
print(round((c["x"] + c["w"] / 2) * w / d["w"]), round((c["y"] + c["h"] / 2) * h / d["h"]))
PY
)
  xdotool mousemove --window "$win" ${xy% *} ${xy#* } click 1
}
# The tools have finished: no stand-in alive and the log still for 3 s.
wait_idle() {
  local end=$((SECONDS + ${1:-240})) last= quiet=0 now
  while [ $SECONDS -lt $end ]; do
    now=$(cat "$TOOL_LOG" 2>/dev/null | wc -l)
    if [ "$now" = "$last" ] && ! pgrep -f "$BIN" >/dev/null; then
      quiet=$((quiet + 1)); [ $quiet -ge 6 ] && return 0
    else
      quiet=0
    fi
    last=$now; sleep 0.5
  done
  return 1
}
runs_from() { tail -n +"$1" "$TOOL_LOG" 2>/dev/null | tr '\t' ' '; }
ini_raw() { cat "$WORK/Mirvan.ini"; }
start_bar() { start_bar_in "$WORK" "$@"; }
start_bar_in() {
  local dir=$1; shift
  (cd "$dir" && exec wine "$BUILD/Mirvan.exe" "$@") >>"$TMP/wine.out" 2>&1 &
  BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear"
}
# Nothing but the bar is up: no box, no dialog.
no_other_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    [ "$w" = "$BAR" ] && continue
    case "$(xdotool getwindowname "$w" 2>/dev/null)" in
      Mirvan|"$SETTINGS_TITLE"|"$PDFSIZE_TITLE"|開く|Warning*) echo "$(xdotool getwindowname "$w")"; return 1 ;;
    esac
  done
  return 0
}
# The bar takes a click again: the file select button's dialog comes up
# (and is closed). Whatever a click queued before would have come first.
bar_answers() {
  click "$BAR" 146 1001
  local picker
  picker=$(wait_window "^開く\$" 30) || fail "the bar did not answer a click ($1)"
  xdotool windowactivate --sync "$picker" key Escape
  wait_gone "^開く\$" || fail "file dialog stayed"
}
bar_text() { wine "$BUILD/wininfo.exe" text "$BAR_TITLE" "$1" 2>/dev/null | tr -d '\r'; }

# --- The window ------------------------------------------------------------
start_bar "$(winpath "$DOC/paper.tex")"
xprop -id "$BAR" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the bar is not above other windows"
geo=$(xdotool getwindowgeometry "$BAR" | awk '/Geometry/ { print $2 }')
want=$(wine "$BUILD/wininfo.exe" size "$(winpath "$BUILD/Mirvan.exe")" 146 235 38 | tr -d '\r' | tr ' ' x)
[ -n "$want" ] && [ "$geo" = "$want" ] || fail "bar is $geo, 235x38 dialog units are $want"
[ "$(bar_text 1001)" = "ﾌｧｲﾙ選択" ] || fail "file select button: $(bar_text 1001)"
icon_buttons=$(/usr/bin/python3 -c 'import json, sys
print(*[c["id"] for c in json.load(open(sys.argv[1], encoding="utf-8"))["controls"] if c["kind"] == "iconbutton"])' \
  "$ROOT/res/dialogs/146.json")
wine "$BUILD/wininfo.exe" icons "$BAR_TITLE" $icon_buttons >/dev/null || fail "a button without its icon"
[ "$(bar_text 1017)" = "$(winpath "$DOC/paper.tex")" ] || fail "history box: $(bar_text 1017)"
pass "bar above others, $geo pixels = 235x38 dialog units, icons on the buttons, document from the command line"
if [ -n "${MIRVAN_WIN_SHOT:-}" ]; then
  sleep 1
  import -window "$BAR" -frame "$MIRVAN_WIN_SHOT"
fi

# --- TeX: the same runs as the Linux bar makes on the sample ----------------
click "$BAR" 146 1002
wait_idle || fail "the tools did not finish"
runs=$(runs_from 1)
head=$(head -n5 <<<"$runs")
[ "$head" = "platex paper
jbibtex paper
platex paper
mendex -s myindex paper
platex paper" ] || fail "TeX runs: $runs"
[ "$(tail -n +6 <<<"$runs" | sort -u)" = "platex paper" ] || fail "final runs: $runs"
[ -s "$DOC/paper.dvi" ] && [ -s "$DOC/paper.bbl" ] && [ -s "$DOC/paper.ind" ] || fail "no .dvi, .bbl or .ind"
pass "TeX through platex, jbibtex, mendex as on Linux ($(wc -l <<<"$runs") runs)"

# --- PDF, answered A4 ---------------------------------------------------------
mark=$(($(wc -l <"$TOOL_LOG") + 1))
click "$BAR" 146 1006
dlg=$(wait_window "^${PDFSIZE_TITLE}\$") || fail "no paper size dialog"
click "$dlg" 173 1043
click "$dlg" 173 1
wait_gone "^${PDFSIZE_TITLE}\$" || fail "paper size dialog stayed"
wait_idle || fail "dvipdfmx did not finish"
[ "$(runs_from $mark)" = "dvipdfmx paper" ] || fail "PDF runs: $(runs_from $mark)"
size=$(pdfinfo "$DOC/paper.pdf" | awk -F': *' '/^Page size/ { print $2 }')
[[ "$size" == "595.28 x 841.89"* ]] || fail "A4 PDF is $size"
pass "PDF A4: $size"

# --- Settings -> jBibTeX の選択 ---------------------------------------------------
click "$BAR" 146 1010
settings=$(wait_window "^${SETTINGS_TITLE}\$") || fail "no Settings dialog"
click "$settings" 137 32774
question=$(wait_window "^Mirvan\$") || fail "no jBibTeX question"
xdotool windowactivate --sync "$question" key Return
picker=$(wait_window "^開く\$") || fail "no file dialog"
xdotool windowactivate --sync "$picker"
xdotool type --delay 30 "$(winpath "$BIN/jbibtex.exe")"
xdotool key Return
wait_gone "^開く\$" || fail "file dialog stayed"
xdotool windowactivate --sync "$settings" key Escape
wait_gone "^${SETTINGS_TITLE}\$" || fail "Settings stayed"
grep -qF "Bib=$(winpath "$BIN/jbibtex.exe")"$'\r' "$WORK/Mirvan.ini" || fail "no Bib= with CRLF"
[ "$(grep -c $'\r$' "$WORK/Mirvan.ini")" = "$(wc -l <"$WORK/Mirvan.ini")" ] || fail "a line without CRLF"
pass "jBibTeX chosen: Bib= in Mirvan.ini, CRLF"

# --- Settings -> MakeIndex のオプション: typing goes into the options -------
click "$BAR" 146 1010
settings=$(wait_window "^${SETTINGS_TITLE}\$") || fail "no Settings dialog"
click "$settings" 137 32777
options=$(wait_window "^MakeIndex のオプション\$") || fail "no MakeIndex options dialog"
# Typed at once, as the dialog opens: on OK the blank would press it.
xdotool windowactivate --sync "$options"
xdotool type --delay 30 -- "-s myindex -c"
xdotool key Return
wait_gone "^MakeIndex のオプション\$" || fail "MakeIndex options dialog stayed"
xdotool windowactivate --sync "$settings" key Escape
wait_gone "^${SETTINGS_TITLE}\$" || fail "Settings stayed"
grep -qx $'MkIdxOpt=-s myindex -c\r' "$WORK/Mirvan.ini" || fail "typed options not stored: $(grep MkIdxOpt "$WORK/Mirvan.ini")"
pass "MakeIndex options typed as the dialog opens are stored"

# --- About from the system menu ----------------------------------------------
# Our entry is the menu's last; Wine puts an "About Wine" of its own, with the
# same mnemonic, higher up, so the entry is reached from the bottom.
xdotool windowactivate --sync "$BAR" key alt+space
sleep 1
xdotool key Up
sleep 0.3
xdotool key Return
about=$(wait_window "^${ABOUT_TITLE}\$" 20) || fail "no About box from the system menu"
xdotool windowactivate --sync "$about" key Return
wait_gone "^${ABOUT_TITLE}\$" || fail "About box stayed"
pass "About entry in the system menu"

# --- A file dropped on the bar (XDND, as a file manager drops) -------------------
cp "$DOC/paper.tex" "$DOC/second.tex"
eval "$(xdotool getwindowgeometry --shell "$BAR")"
/usr/bin/python3 "$ROOT/tests/e2e/xdnd_drop.py" "$BAR" $((X + 10)) $((Y + HEIGHT * 29 / 38)) "$DOC/second.tex" ||
  fail "the drop was not taken"
for _ in $(seq 50); do [ "$(bar_text 1017)" = "$(winpath "$DOC/second.tex")" ] && break; sleep 0.2; done
[ "$(bar_text 1017)" = "$(winpath "$DOC/second.tex")" ] || fail "dropped file not current: $(bar_text 1017)"
pass "dropped file becomes the document"

# --- The close box saves the history; a restart shows it ------------------------
wmctrl -i -c "$BAR"
wait_gone "^${BAR_TITLE}\$" || fail "the bar did not close"
history=$(iconv -f CP932 -t UTF-8 "$WORK/Mirvan.ini" | sed -n 's/^File[01]=//p')
[ "$history" = "$(winpath "$DOC/second.tex")"$'\r'$'\n'"$(winpath "$DOC/paper.tex")"$'\r' ] ||
  fail "history not saved in the code page: $history"
start_bar
[ "$(bar_text 1017)" = "$(winpath "$DOC/second.tex")" ] || fail "history after restart: $(bar_text 1017)"
pass "history kept across a restart"

# --- While a tool runs the bar is drawn and takes no input: a click on 設定
# then is dropped, not replayed after the tool; Enter off the buttons ends nothing
mark=$(($(wc -l <"$TOOL_LOG") + 1))
rm -f "$GO"
click "$BAR" 146 1002
for _ in $(seq 300); do [ "$(wc -l <"$TOOL_LOG")" -ge "$mark" ] && break; sleep 0.1; done
[ "$(runs_from $mark)" = "platex second" ] || fail "platex did not start: $(runs_from $mark)"
click "$BAR" 146 1010
touch "$GO"
wait_idle || fail "the tools did not finish"
other=$(no_other_window) || fail "'$other' came up after the run"
bar_answers "after the run"
other=$(no_other_window) || fail "'$other' came up: the click on 設定 was replayed"
click "$BAR" 146 1017
xdotool key Return
bar_answers "after Enter in the history box"
pass "a click made while a tool runs is dropped; Enter off the buttons leaves the bar open"

# --- A tool the user stops (Ctrl+C in its console, or the console closed)
# ends the action there: no later tool, no box, Mirvan.ini untouched -------------
wmctrl -i -c "$BAR"
wait_gone "^${BAR_TITLE}\$" || fail "the bar did not close"
export MIRVAN_STANDIN_STOP=jbibtex
start_bar "$(winpath "$DOC/paper.tex")"
cp "$WORK/Mirvan.ini" "$TMP/ini.before"
mark=$(($(wc -l <"$TOOL_LOG") + 1))
click "$BAR" 146 1002
wait_idle || fail "the tools did not finish"
[ "$(runs_from $mark)" = "platex paper
jbibtex paper" ] || fail "runs after the stop: $(runs_from $mark)"
other=$(no_other_window) || fail "'$other' came up after the stop"
bar_answers "after the stop"
cmp -s "$TMP/ini.before" "$WORK/Mirvan.ini" || fail "Mirvan.ini changed after the stop"
pass "a stopped BibTeX ends the compile: no later tool, no box, Mirvan.ini untouched"
unset MIRVAN_STANDIN_STOP

# --- A failed compile says what failed once the tool's console has gone --------
wmctrl -i -c "$BAR"
wait_gone "^${BAR_TITLE}\$" || fail "the bar did not close"
export MIRVAN_STANDIN_FAIL=platex
start_bar "$(winpath "$DOC/paper.tex")"
rm -f "$DOC/paper.dvi"
click "$BAR" 146 1002
box=$(wait_window "^Mirvan\$" 60) || fail "no box after the failed compile"
text=$(wine "$BUILD/wininfo.exe" text Mirvan 65535 2>/dev/null | tr -d '\r')
[[ "$text" == *"新しい DVI ファイルができませんでした"* ]] || fail "the box says: $text"
xdotool windowactivate --sync "$box" key Return
wait_gone "^Mirvan\$" || fail "the box stayed"
pass "a failed compile is told in a box: $text"
unset MIRVAN_STANDIN_FAIL

# --- A relative path on the command line, started from the document's parent
# folder: the first and the second press compile --------------------------------
wmctrl -i -c "$BAR"
wait_gone "^${BAR_TITLE}\$" || fail "the bar did not close"
printf '[Settings]\r\nMkIdxNvr=1\r\nMkIdxOpt=-s myindex\r\n' >"$TMP/Mirvan.ini"
start_bar_in "$TMP" "表示\\paper.tex"
for press in first second; do
  mark=$(($(wc -l <"$TOOL_LOG") + 1))
  click "$BAR" 146 1002
  wait_idle || fail "the tools did not finish ($press press)"
  other=$(no_other_window) || fail "'$other' on the $press press"
  [ "$(runs_from $mark | head -n1)" = "platex paper" ] || fail "$press press ran: $(runs_from $mark)"
done
pass "表示\\paper.tex from the parent folder compiles on the first and the second press"

# --- A Mirvan.ini that is a folder: said once, before the bar; nothing written --
wmctrl -i -c "$BAR"
wait_gone "^${BAR_TITLE}\$" || fail "the bar did not close"
ODD=$TMP/odd
mkdir -p "$ODD/Mirvan.ini"
(cd "$ODD" && exec wine "$BUILD/Mirvan.exe") >>"$TMP/wine.out" 2>&1 &
box=$(wait_window "^Mirvan\$" 60) || fail "nothing said the settings file cannot be read"
xdotool windowactivate --sync "$box" key Return
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not come after the box"
wmctrl -i -c "$BAR"
wait_gone "^${BAR_TITLE}\$" || fail "the bar did not close"
! xdotool search --onlyvisible --name "^Mirvan\$" >/dev/null 2>&1 || fail "a second box about the settings file"
[ -d "$ODD/Mirvan.ini" ] && [ -z "$(ls -A "$ODD/Mirvan.ini")" ] || fail "the folder Mirvan.ini was changed"
pass "a Mirvan.ini that is a folder: one box, the bar runs on the defaults"
