#!/usr/bin/env bash
# Mirvan.exe end to end under Wine, in a Japanese locale (ANSI code page 932)
# on a private X server with openbox: the bar's window, the sample compiled
# through the real TeX chain behind .exe stand-ins, the paper size dialog,
# the Settings dialog's jBibTeX chooser, typing into the MakeIndex options,
# the history across a restart, the About entry of the system menu, a
# settings file that cannot be written or lies past MAX_PATH, a batch file
# as the compiler on a hostile name, clicks while a tool runs, a stopped
# tool, a failed compile, a relative document path, compile on save from the
# context menu, and a TeX error listed in the list window and opened in the
# editor at its line.
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
MKIDX_TITLE='MakeIndex のオプション'
ABOUT_TITLE='Mirvanのﾊﾞｰｼﾞｮﾝ情報'
LIST_TITLE='エラーと警告'

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirvan-wine.XXXXXX")
PIDS=()
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "${READONLY_INI:-}" ] && chattr -i "$READONLY_INI" 2>/dev/null
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
wait_gone() {  # title regex, seconds
  local end=$((SECONDS + ${2:-20}))
  while [ $SECONDS -lt $end ]; do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.2; done
  return 1
}
# Clicks control ID of a window built on template TEMPL: its centre, from
# the template's dialog units scaled to the window's client size. BUTTON:
# 1 (the left one) unless given.
click() {
  local win=$1 templ=$2 id=$3 button=${4:-1} geo xy
  geo=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ { print $2 }')
  xy=$(/usr/bin/python3 - "$ROOT/res/dialogs/$templ.json" "$id" "$geo" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
w, h = map(int, sys.argv[3].split("x"))
c = next(c for c in d["controls"] if c["id"] == int(sys.argv[2]))
print(round((c["x"] + c["w"] / 2) * w / d["w"]), round((c["y"] + c["h"] / 2) * h / d["h"]))
PY
)
  xdotool mousemove --window "$win" ${xy% *} ${xy#* } click "$button"
}
# The lines of the list window (wininfo list), once it has the focus, or
# as they are when it does not get it within 20 s.
list_focused() {
  local end=$((SECONDS + 20)) out
  while :; do
    out=$(wine "$BUILD/wininfo.exe" list "$LIST_TITLE" 1060 2>/dev/null | tr -d '\r')
    [ "$(tail -n1 <<<"$out")" = focus ] || [ $SECONDS -ge $end ] && break
    sleep 0.2
  done
  echo "$out"
}
# A menu of the program is open (Wine draws it in a window of its own).
wait_menu() {
  local end=$((SECONDS + 20))
  while [ $SECONDS -lt $end ]; do wine "$BUILD/wininfo.exe" menu >/dev/null 2>&1 && return 0; sleep 0.2; done
  return 1
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
start_bar() {
  start_bar_in "$WORK" "$@"
  BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear"
}
start_bar_in() {  # folder, arguments: the bar started there, not waited for
  local dir=$1; shift
  (cd "$dir" && exec wine "$BUILD/Mirvan.exe" "$@") >>"$TMP/wine.out" 2>&1 &
}
# The message box of the program (captioned with its name): its text.
box_text() { wine "$BUILD/wininfo.exe" text Mirvan 65535 2>/dev/null | tr -d '\r'; }
# Every caption of the dialog (template, title) shown whole in the font Wine
# gave it: the dialog made room where the template's box was too small.
captions_whole() {
  local out
  out=$(wine "$BUILD/wininfo.exe" cut "$(winpath "$BUILD/Mirvan.exe")" "$1" "$2" 2>/dev/null | tr -d '\r') ||
    fail "cut captions in $2: $out"
}
# Presses Return on box $1 until it has gone: under load Wine may hand the
# first key to the window the box came from.
press_box() {
  local try
  for try in 1 2 3; do
    xdotool windowactivate --sync "$1" key Return
    wait_gone "^Mirvan\$" 5 && return 0
  done
  fail "the box stayed${2:+: $2}"
}
# The close box is refused while an action still ends (a box just closed):
# asked again, as a user would click again.
close_bar() {
  local try
  for try in 1 2 3; do
    wmctrl -i -c "$BAR"
    wait_gone "^${BAR_TITLE}\$" 7 && return 0
  done
  fail "the bar did not close${1:+: $1}"
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

# --- The program file: version, manifest, no symbols, full-colour icons ----
version=$(sed -n 's/^project(Mirvan VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
got=$(wine "$BUILD/wininfo.exe" version "$(winpath "$BUILD/Mirvan.exe")" 2>/dev/null | tr -d '\r')
[ -n "$version" ] && [ "$got" = "$version" ] || fail "file version $got, project version $version"
manifest=$(wrestool -x --raw --type=24 --name=1 "$BUILD/Mirvan.exe")
for want in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '>PerMonitorV2, PerMonitor<' \
  '>true/pm<' '<longPathAware' "version=\"$version.0\""; do
  grep -qF "$want" <<<"$manifest" || fail "manifest lacks $want"
done
! grep -q "<activeCodePage" <<<"$manifest" || fail "the manifest changes the code page"
[[ "$(LC_ALL=C x86_64-w64-mingw32-objdump -t "$BUILD/Mirvan.exe")" == *$'\nno symbols'* ]] || fail "Mirvan.exe keeps its symbols"
wrestool -x --type=14 --name=128 -o "$TMP/program.ico" "$BUILD/Mirvan.exe" || fail "no program icon"
icons=$(icotool -l "$TMP/program.ico" | sed 's/.*--width=\([0-9]*\).*--bit-depth=\([0-9]*\).*/\1:\2/' | tr '\n' ' ')
# The 256-pixel picture is a PNG, whose depth icotool reads from the file.
[[ "$icons" == "16:32 24:32 32:32 48:32 64:32 128:32 256:"* ]] || fail "program icon sizes:depths $icons"
pass "version $version, manifest, no symbols, program icon at 16 to 256 pixels in full colour"

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
captions_whole 173 "$PDFSIZE_TITLE"
click "$dlg" 173 1043
click "$dlg" 173 1
wait_gone "^${PDFSIZE_TITLE}\$" || fail "paper size dialog stayed"
wait_idle || fail "dvipdfmx did not finish"
[ "$(runs_from $mark)" = "dvipdfmx paper" ] || fail "PDF runs: $(runs_from $mark)"
size=$(pdfinfo "$DOC/paper.pdf" | awk -F': *' '/^Page size/ { print $2 }')
[[ "$size" == "595.28 x 841.89"* ]] || fail "A4 PDF is $size"
pass "PDF A4: $size; every caption of the paper size dialog whole"

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
click "$settings" 137 32777
dlg=$(wait_window "^${MKIDX_TITLE}\$") || fail "no MakeIndex options dialog"
captions_whole 198 "$MKIDX_TITLE"
xdotool windowactivate --sync "$dlg" key Escape
wait_gone "^${MKIDX_TITLE}\$" || fail "MakeIndex options dialog stayed"
xdotool windowactivate --sync "$settings" key Escape
wait_gone "^${SETTINGS_TITLE}\$" || fail "Settings stayed"
grep -qF "Bib=$(winpath "$BIN/jbibtex.exe")"$'\r' "$WORK/Mirvan.ini" || fail "no Bib= with CRLF"
[ "$(grep -c $'\r$' "$WORK/Mirvan.ini")" = "$(wc -l <"$WORK/Mirvan.ini")" ] || fail "a line without CRLF"
pass "jBibTeX chosen: Bib= in Mirvan.ini, CRLF; every caption of the MakeIndex options whole"

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
close_bar
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
close_bar
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
close_bar
export MIRVAN_STANDIN_FAIL=platex
start_bar "$(winpath "$DOC/paper.tex")"
rm -f "$DOC/paper.dvi"
click "$BAR" 146 1002
box=$(wait_window "^Mirvan\$" 60) || fail "no box after the failed compile"
text=$(wine "$BUILD/wininfo.exe" text Mirvan 65535 2>/dev/null | tr -d '\r')
[[ "$text" == *"新しい DVI ファイルができませんでした"* ]] || fail "the box says: $text"
press_box "$box"
pass "a failed compile is told in a box: $text"
unset MIRVAN_STANDIN_FAIL

# --- A relative path on the command line, started from the document's parent
# folder: the first and the second press compile --------------------------------
close_bar
printf '[Settings]\r\nMkIdxNvr=1\r\nMkIdxOpt=-s myindex\r\n' >"$TMP/Mirvan.ini"
start_bar_in "$TMP" "表示\\paper.tex"
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear"
for press in first second; do
  mark=$(($(wc -l <"$TOOL_LOG") + 1))
  click "$BAR" 146 1002
  wait_idle || fail "the tools did not finish ($press press)"
  other=$(no_other_window) || fail "'$other' on the $press press"
  [ "$(runs_from $mark | head -n1)" = "platex paper" ] || fail "$press press ran: $(runs_from $mark)"
done
pass "表示\\paper.tex from the parent folder compiles on the first and the second press"

# --- A Mirvan.ini that is a folder: said once, before the bar; nothing written --
close_bar
ODD=$TMP/odd
mkdir -p "$ODD/Mirvan.ini"
(cd "$ODD" && exec wine "$BUILD/Mirvan.exe") >>"$TMP/wine.out" 2>&1 &
box=$(wait_window "^Mirvan\$" 60) || fail "nothing said the settings file cannot be read"
press_box "$box"
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not come after the box"
close_bar
! xdotool search --onlyvisible --name "^Mirvan\$" >/dev/null 2>&1 || fail "a second box about the settings file"
[ -d "$ODD/Mirvan.ini" ] && [ -z "$(ls -A "$ODD/Mirvan.ini")" ] || fail "the folder Mirvan.ini was changed"
pass "a Mirvan.ini that is a folder: one box, the bar runs on the defaults"
# --- A read-only Mirvan.ini: said once, in the whole run -----------------------
# The start-up writes three keys, the close box the history: each fails, and
# one box says so. Root writes read-only files, so there the file is made
# immutable as well.
close_bar
RO=$TMP/readonly
mkdir -p "$RO"
printf '[Settings]\r\nMkIdxNvr=1\r\n' >"$RO/Mirvan.ini"
chmod 444 "$RO/Mirvan.ini"
if [ "$(id -u)" = 0 ] && ! chattr +i "$RO/Mirvan.ini" 2>/dev/null; then
  echo "SKIP: read-only Mirvan.ini (running as root without the right to make a file immutable)"
else
  READONLY_INI=$RO/Mirvan.ini
  start_bar_in "$RO" "$(winpath "$DOC/paper.tex")"
  box=$(wait_window '^Mirvan$' 60) || fail "no box about the read-only Mirvan.ini"
  text=$(box_text)
  [[ "$text" == *"$(winpath "$RO/Mirvan.ini")"*"書き込めません"* ]] || fail "read-only box says: $text"
  press_box "$box"
  BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear after the box"
  ! xdotool search --onlyvisible --name '^Mirvan$' >/dev/null || fail "a second box at start-up"
  # A second box would hold the close box's handler, and the bar with it.
  close_bar "a second box when the history could not be saved"
  [ "$(cat "$RO/Mirvan.ini")" = $'[Settings]\r\nMkIdxNvr=1\r' ] || fail "the read-only file changed"
  chattr -i "$RO/Mirvan.ini" 2>/dev/null; READONLY_INI=
  pass "read-only Mirvan.ini: one box naming it, at start-up, and none at close"
fi

# --- Started from a folder whose settings path passes MAX_PATH ----------------
# 253 bytes of folder and \Mirvan.ini make 264: the profile functions would
# write a file of some other name. Either the right file is written (through
# the folder's short name) or none, with a box; never another file.
long=$TMP/long
pad=$((253 - ${#long} - 3))
LONGDIR=$long/$(printf 'd%.0s' $(seq $pad))
[ ${#LONGDIR} -eq $((253 - 2)) ] || fail "the long folder is ${#LONGDIR} bytes"
mkdir -p "$LONGDIR"
touch "$TMP/before-long"
start_bar_in "$LONGDIR" "$(winpath "$DOC/paper.tex")"
win=
for _ in $(seq 300); do
  win=$(xdotool search --onlyvisible --name "^(Mirvan|${BAR_TITLE})\$" 2>/dev/null | head -n1)
  [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || fail "nothing appeared when started from the long folder"
boxes=0
if [ "$(xdotool getwindowname "$win")" = Mirvan ]; then
  boxes=1
  [[ "$(box_text)" == *"書き込めません"* ]] || fail "long folder box says: $(box_text)"
  xdotool windowactivate --sync "$win" key Return
fi
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear from the long folder"
close_bar "a second box from the long folder"
made=$(find "$TMP" "$WINEPREFIX/drive_c" -type f -newer "$TMP/before-long" ! -name wine.out ! -name '*.reg' | sort)
if [ $boxes = 0 ]; then
  [ "$made" = "$LONGDIR/Mirvan.ini" ] || fail "files written from the long folder: $made"
  iconv -f CP932 -t UTF-8 "$LONGDIR/Mirvan.ini" | grep -qF "File0=$(winpath "$DOC/paper.tex")" ||
    fail "no history in the long folder's Mirvan.ini"
  pass "long start folder: Mirvan.ini written there, through the folder's short name"
else
  [ -z "$made" ] || fail "files written from the long folder: $made"
  pass "long start folder: one box, no file anywhere"
fi

# --- A batch file as the compiler, on a document named x&notepad.tex ----------
# cmd.exe runs a batch file and would read the & as the start of a command of
# its own. The batch file records the words it got; nothing else may start.
BAT_LOG=$TMP/bat.log BATDOC=$TMP/batdoc
mkdir -p "$BATDOC"
cp "$DOC/paper.tex" "$BATDOC/x&notepad.tex"
printf '@echo off\r\n>>"%%MIRVAN_BAT_LOG%%" echo %%*\r\n' >"$BIN/mytex.bat"
printf '[Settings]\r\nTeX=%s\r\nMkIdxNvr=1\r\n' "$(winpath "$BIN/mytex.bat")" >"$BATDOC/Mirvan.ini"
export MIRVAN_BAT_LOG=$(winpath "$BAT_LOG")
start_bar_in "$BATDOC" "$(winpath "$BATDOC/x&notepad.tex")"
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear on x&notepad.tex"
click "$BAR" 146 1002
for _ in $(seq 150); do [ -s "$BAT_LOG" ] && break; sleep 0.2; done
[ -s "$BAT_LOG" ] || fail "the batch file did not run"
# cmd.exe starts what follows the batch file before it ends itself (and
# waits for it).
for _ in $(seq 150); do
  pgrep -fi 'notepad\.exe' >/dev/null && fail "Notepad was started; the batch file got: $(cat "$BAT_LOG")"
  pgrep -f 'mytex\.bat' >/dev/null || break
  sleep 0.2
done
! pgrep -f 'mytex\.bat' >/dev/null || fail "cmd.exe did not end"
! pgrep -fi 'notepad\.exe' >/dev/null || fail "Notepad was started"
[ "$(tr -d '\r' <"$BAT_LOG")" = '"x&notepad"' ] || fail "the batch file got: $(cat "$BAT_LOG")"
pass "a batch-file compiler on x&notepad.tex gets \"x&notepad\" as one word, and nothing else starts"

# --- Compile on save, switched on from the bar's context menu -----------------
# The right button on the bar, then the entry's mnemonic: the title says so,
# Mirvan.ini keeps it; a save in place and a save by a new file renamed over
# the source each compile once; saves during a compile compile once more.
close_bar
SAVE=$TMP/save
mkdir -p "$SAVE"
printf '\\documentclass{jarticle}\n\\begin{document}\nfirst\n\\end{document}\n' >"$SAVE/s.tex"
printf '[Settings]\r\nMkIdxNvr=1\r\n' >"$SAVE/Mirvan.ini"
start_bar_in "$SAVE" "$(winpath "$SAVE/s.tex")"
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear on s.tex"
click "$BAR" 146 1002
wait_idle || fail "the first compile of s.tex did not finish"
SAVE_TITLE="$BAR_TITLE ［保存でコンパイル］"
click "$BAR" 146 1002 3
wait_menu || fail "no context menu on the right button"
xdotool key w
wait_window "^${SAVE_TITLE}\$" 20 >/dev/null || fail "the title does not say saves compile: $(xdotool getwindowname "$BAR")"
grep -qx $'CompileOnSave=1\r' "$SAVE/Mirvan.ini" || fail "compile on save not kept in Mirvan.ini"
# One save, then the compile it started, ended: the runs since MARK.
saved_runs() {
  local mark=$1
  for _ in $(seq 150); do [ "$(wc -l <"$TOOL_LOG")" -ge "$mark" ] && break; sleep 0.1; done
  wait_idle || fail "the compile after a save did not finish"
  runs_from "$mark"
}
mark=$(($(wc -l <"$TOOL_LOG") + 1))
printf '\\documentclass{jarticle}\n\\begin{document}\nsecond\n\\end{document}\n' >"$SAVE/s.tex"
[ "$(saved_runs $mark)" = "platex s" ] || fail "a save in place ran: $(runs_from $mark)"
mark=$(($(wc -l <"$TOOL_LOG") + 1))
printf '\\documentclass{jarticle}\n\\begin{document}\nthird\n\\end{document}\n' >"$SAVE/s.tex.new"
mv "$SAVE/s.tex.new" "$SAVE/s.tex"
[ "$(saved_runs $mark)" = "platex s" ] || fail "a save by a rename ran: $(runs_from $mark)"
# The tool held: the bar waits for it and the watch goes on meanwhile.
rm -f "$GO"
mark=$(($(wc -l <"$TOOL_LOG") + 1))
printf '\\documentclass{jarticle}\n\\begin{document}\nfourth\n\\end{document}\n' >"$SAVE/s.tex"
for _ in $(seq 150); do [ "$(wc -l <"$TOOL_LOG")" -ge "$mark" ] && break; sleep 0.1; done
[ "$(runs_from $mark)" = "platex s" ] || fail "the save did not start a compile: $(runs_from $mark)"
for n in $(seq 10); do
  printf '\\documentclass{jarticle}\n\\begin{document}\nsave %s\n\\end{document}\n' "$n" >"$SAVE/s.tex"
done
touch "$GO"
wait_idle || fail "the compiles after ten saves did not finish"
[ "$(runs_from $mark)" = "platex s
platex s" ] || fail "ten saves during a compile ran: $(runs_from $mark)"
click "$BAR" 146 1002 3
wait_menu || fail "no context menu the second time"
xdotool key w
wait_window "^${BAR_TITLE}\$" 20 >/dev/null || fail "the title still says saves compile"
grep -qx $'CompileOnSave=0\r' "$SAVE/Mirvan.ini" || fail "compile on save not turned off in Mirvan.ini"
pass "compile on save from the context menu: in place and by a rename one compile each, ten saves during one compile one more, the title says it"

# --- A TeX error in an \input file: the offer, the list, the editor at the line --
# platex reads its answers from /dev/null here, so it stops at the error on
# its own. The editor is a stand-in named like Notepad++, which records the
# words it got.
close_bar
ERR=$TMP/err
mkdir -p "$ERR/chap"
printf '\\documentclass{jarticle}\n\\begin{document}\n\\input{chap/two}\n\\end{document}\n' >"$ERR/main.tex"
printf 'one\n\ntwo\n\nthree\n\n\\undefinedcommand\n' >"$ERR/chap/two.tex"
cp "$BUILD/standin.exe" "$BIN/notepad++.exe"
printf '[Settings]\r\nMkIdxNvr=1\r\n[Editor]\r\nEDIT=%s\r\n' "$(winpath "$BIN/notepad++.exe")" >"$ERR/Mirvan.ini"
start_bar_in "$ERR" "$(winpath "$ERR/main.tex")"
BAR=$(wait_window "^${BAR_TITLE}\$" 60) || fail "the bar did not appear on main.tex"
click "$BAR" 146 1002
box=$(wait_window "^Mirvan\$" 120) || fail "no box after the failed compile"
text=$(box_text)
[[ "$text" == *"エラーと警告の一覧を開きますか？" ]] || fail "the box after the error says: $text"
press_box "$box" "the offer of the list"
listwin=$(wait_window "^${LIST_TITLE}\$" 20) || fail "no list window after OK"
list=$(list_focused)
[ "$(head -n1 <<<"$list")" = "> ● chap/two.tex:7: Undefined control sequence." ] && [ "$(tail -n1 <<<"$list")" = focus ] ||
  fail "the list after the error: $list"
mark=$(($(wc -l <"$TOOL_LOG") + 1))
xdotool key Return
for _ in $(seq 150); do [ "$(wc -l <"$TOOL_LOG")" -ge "$mark" ] && break; sleep 0.1; done
[ "$(runs_from $mark | head -n1)" = "notepad++ -n7 $(winpath "$ERR/chap/two.tex")" ] ||
  fail "Enter on the error started: $(runs_from $mark)"
# The stand-in is a console program: its console comes and goes with it.
wait_idle || fail "the editor's stand-in did not end"
pass "a TeX error: the offer, the list with its first error selected and focused, Enter opens the editor at the line"

# --- The list window from the system menu --------------------------------------
xdotool windowactivate --sync "$listwin" key Escape
wait_gone "^${LIST_TITLE}\$" || fail "Esc did not close the list window"
# The entry before About, reached from the bottom as About is.
xdotool windowactivate --sync "$BAR" key alt+space
wait_menu || fail "no system menu"
xdotool key Up Up Return
wait_window "^${LIST_TITLE}\$" 20 >/dev/null || fail "no list window from the system menu"
list=$(list_focused)
[ "$(head -n1 <<<"$list")" = "> ● chap/two.tex:7: Undefined control sequence." ] && [ "$(tail -n1 <<<"$list")" = focus ] ||
  fail "the list from the system menu: $list"
pass "the system menu's entry opens the list window with the last list"
