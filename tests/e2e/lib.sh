# Shared helpers of the end-to-end tests: a private X server with a window
# manager, a fresh home, the tool wrappers first on PATH, and ways to find,
# click and type into Mirvan's windows the way a user would.
#
# A test script sources this file, calls e2e_setup, and then drives the bar.
# Every wait polls for a window, a file or a log line with a time limit;
# nothing sleeps for a guessed time.
#
# Environment:
#   MIRVAN_BIN         the program under test (default: build/mirvan)
#   MIRVAN_E2E_KEEP=1  keep the temporary folder for inspection
#   E2E_SCREEN         the X screen's size (set by a test; default 1280x800)
set -uo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_SOURCE_DIR=$(cd "$E2E_DIR/../.." && pwd)
MIRVAN_BIN=${MIRVAN_BIN:-$E2E_SOURCE_DIR/build/mirvan}
BAR_TITLE='Mirvan: Drag & Drop TeX file'
# Message boxes carry the application title: the program file's name.
APP_TITLE=$(basename "$MIRVAN_BIN")
APP_TITLE=${APP_TITLE%.*}
PDFSIZE_TITLE='PDF 作成の用紙サイズ'
SETTINGS_TITLE='設定'

E2E_PIDS=()          # processes this test started, ended in reverse order
MIRVAN_PID=
BAR=
E2E_FAILED=0

e2e_log() { printf '[%s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

e2e_fail() {
  E2E_FAILED=1
  printf 'FAIL: %s\n' "$*" >&2
  e2e_diagnose
  exit 1
}

e2e_diagnose() {
  [ -n "${DISPLAY:-}" ] || return 0
  [ -n "${E2E_TMP:-}" ] && /usr/bin/python3 "$E2E_DIR/screenshot.py" "$E2E_TMP/failure.png" 2>/dev/null
  {
    echo "--- visible windows:"
    local w
    for w in $(xdotool search --onlyvisible --class '.' 2>/dev/null); do
      printf '  %s pid %s: %s\n' "$w" "$(xdotool getwindowpid "$w" 2>/dev/null)" "$(xdotool getwindowname "$w" 2>/dev/null)"
    done
    echo "--- windows of pid $MIRVAN_PID: $(xdotool search --onlyvisible --pid "$MIRVAN_PID" 2>/dev/null | tr '\n' ' ')"
    if [ -n "${MIRVAN_TOOL_LOG:-}" ] && [ -f "$MIRVAN_TOOL_LOG" ]; then
      echo "--- tool runs:"; sed 's/^/  /' "$MIRVAN_TOOL_LOG"
    fi
    if [ -n "${E2E_WORK:-}" ] && [ -f "$E2E_WORK/Mirvan.ini" ]; then
      echo "--- Mirvan.ini:"; sed 's/^/  /' "$E2E_WORK/Mirvan.ini"
    fi
    if [ -n "${E2E_TMP:-}" ] && [ -f "$E2E_TMP/mirvan.out" ]; then
      echo "--- mirvan output:"; tail -n 30 "$E2E_TMP/mirvan.out" | sed 's/^/  /'
    fi
  } >&2
}

e2e_cleanup() {
  local i pid
  [ -n "${E2E_WATCHDOG:-}" ] && kill "$E2E_WATCHDOG" 2>/dev/null
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${E2E_PIDS[i]}
    kill -TERM "$pid" 2>/dev/null
  done
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${E2E_PIDS[i]}
    # Reap what ended; a process that ignores TERM gets KILL after a grace.
    local n=0
    while kill -0 "$pid" 2>/dev/null && [ $n -lt 20 ]; do sleep 0.1; n=$((n + 1)); done
    kill -KILL "$pid" 2>/dev/null
  done
  if [ -n "${E2E_TMP:-}" ]; then
    if [ "${MIRVAN_E2E_KEEP:-0}" = 1 ] || [ $E2E_FAILED = 1 ]; then
      echo "kept: $E2E_TMP" >&2
    else
      rm -rf "$E2E_TMP"
    fi
  fi
}

# Polls `cmd...` until it succeeds or `secs` pass.
e2e_poll() {
  local secs=$1; shift
  local deadline=$((SECONDS + secs))
  while ! "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

_e2e_wm_settled() { _e2e_has_wm || ! kill -0 "$1" 2>/dev/null; }
_e2e_has_wm() { [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *'window id'* ]]; }

# Private X server, window manager and a fresh user environment.
e2e_setup() {
  [ -x "$MIRVAN_BIN" ] || { echo "no program at $MIRVAN_BIN" >&2; exit 1; }
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirvan-e2e.XXXXXX")
  trap e2e_cleanup EXIT
  trap 'exit 143' TERM INT HUP
  # Should this script be killed outright (a test timeout), the watchdog
  # ends what it started, so no X server outlives the test.
  local me=$$
  ( while kill -0 "$me" 2>/dev/null; do sleep 1; done
    [ -f "$E2E_TMP/pids" ] && xargs -r kill -KILL <"$E2E_TMP/pids" 2>/dev/null
  ) >/dev/null 2>&1 &
  E2E_WATCHDOG=$!
  export HOME=$E2E_TMP/home
  export XDG_CONFIG_HOME=$E2E_TMP/config
  export XDG_DATA_HOME=$E2E_TMP/data
  export XDG_CACHE_HOME=$E2E_TMP/cache
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_CACHE_HOME"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  export QT_QPA_PLATFORM=xcb
  unset QT_QPA_PLATFORMTHEME SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
  export NO_AT_BRIDGE=1
  export MIRVAN_TOOL_LOG=$E2E_TMP/tools.log
  : >"$MIRVAN_TOOL_LOG"
  export PATH=$E2E_DIR/wrappers:$PATH
  E2E_WORK=$E2E_TMP/work
  mkdir -p "$E2E_WORK"

  # Xvfb picks a free display itself and tells us its number.
  local dfile=$E2E_TMP/display
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x800}x24" -nolisten tcp 3>"$dfile" 2>"$E2E_TMP/xvfb.log" &
  E2E_PIDS+=($!); echo $! >>"$E2E_TMP/pids"
  e2e_poll 20 test -s "$dfile" || e2e_fail "Xvfb did not start"
  export DISPLAY=:$(head -n1 "$dfile")
  e2e_poll 20 xdpyinfo >/dev/null 2>&1 || e2e_fail "X server $DISPLAY not answering"
  # Now and then the window manager cannot connect to a server that has
  # just come up while another test's server goes down; it gets three tries.
  local try
  for try in 1 2 3; do
    openbox --sm-disable >>"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!); echo $! >>"$E2E_TMP/pids"
    e2e_poll 10 _e2e_wm_settled $! && _e2e_has_wm && break
    [ $try = 3 ] && e2e_fail "openbox did not start"
  done
  e2e_log "X server $DISPLAY with openbox; work folder $E2E_WORK"
}

# Copies the sample document (paper.tex and its files) into folder $1.
e2e_copy_sample() {
  local dest=$1
  mkdir -p "$dest"
  cp -r "$E2E_SOURCE_DIR/examples/." "$dest/" || e2e_fail "no sample in examples/"
}

# Mirvan.ini for the tests: pbibtex (TeX Live has no jbibtex) and no index
# options question, unless a test says otherwise.
e2e_write_ini() {
  printf '%s\n' "$@" >"$E2E_WORK/Mirvan.ini"
}
E2E_INI_DEFAULT=('[Settings]' 'Bib=pbibtex' 'MkIdxNvr=1' 'MkIdxOpt=-s myindex')

# Starts the bar from $E2E_WORK (where Mirvan.ini lives) with the given
# arguments and waits for its window; sets MIRVAN_PID and BAR.
e2e_start() {
  (cd "$E2E_WORK" && exec "$MIRVAN_BIN" "$@") >>"$E2E_TMP/mirvan.out" 2>&1 &
  MIRVAN_PID=$!
  E2E_PIDS+=($MIRVAN_PID); echo $MIRVAN_PID >>"$E2E_TMP/pids"
  BAR=$(e2e_wait_window "^${BAR_TITLE}( .*)?\$" 30) || e2e_fail "the bar did not appear"
  e2e_log "bar $BAR (pid $MIRVAN_PID)"
}

# Takes as MIRVAN_PID and BAR the bar that something else started (the
# desktop launcher through xdg-open), waiting for its window.
e2e_adopt_bar() {
  local w deadline=$((SECONDS + ${1:-30}))
  while :; do
    w=$(xdotool search --onlyvisible --name "^${BAR_TITLE}\$" 2>/dev/null | head -n1)
    [ -n "$w" ] && break
    [ $SECONDS -lt $deadline ] || e2e_fail "the bar did not appear"
    sleep 0.05
  done
  BAR=$w
  MIRVAN_PID=$(xdotool getwindowpid "$w") || e2e_fail "the bar's window has no pid"
  E2E_PIDS+=($MIRVAN_PID); echo $MIRVAN_PID >>"$E2E_TMP/pids"
  e2e_log "bar $BAR (pid $MIRVAN_PID, started elsewhere)"
}

# Ends the bar this test started (as the window system would) and waits.
e2e_stop() {
  kill -TERM "$MIRVAN_PID" 2>/dev/null
  e2e_poll 20 _e2e_gone "$MIRVAN_PID" || e2e_fail "mirvan did not end"
}

# Waits until Mirvan's process has ended; its exit status in E2E_STATUS.
e2e_wait_exit() {
  local secs=${1:-20}
  e2e_poll "$secs" _e2e_gone "$MIRVAN_PID" || e2e_fail "mirvan did not end"
  wait "$MIRVAN_PID"
  E2E_STATUS=$?
}
_e2e_gone() { ! kill -0 "$1" 2>/dev/null; }

# The first visible window of the program whose title matches the bash
# regex $1. (xdotool's own --name search misses titles that are not
# Latin-1, such as the Japanese dialog captions.)
_e2e_find() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$MIRVAN_PID" 2>/dev/null); do
    if [[ "$(xdotool getwindowname "$w" 2>/dev/null)" =~ $1 ]]; then
      echo "$w"; return 0
    fi
  done
}

# Prints the id of a visible window of the program titled by regex $1,
# waiting up to $2 seconds.
e2e_wait_window() {
  local re=$1 secs=${2:-20} w deadline=$((SECONDS + ${2:-20}))
  while :; do
    w=$(_e2e_find "$re")
    if [ -n "$w" ]; then echo "$w"; return 0; fi
    kill -0 "$MIRVAN_PID" 2>/dev/null || return 1
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

# Waits until window $1 is no longer visible.
e2e_wait_closed() {
  local w=$1 secs=${2:-20}
  e2e_poll "$secs" _e2e_not_viewable "$w"
}
_e2e_not_viewable() {
  [[ "$(xwininfo -id "$1" 2>/dev/null)" != *'Map State: IsViewable'* ]]
}

# Any visible window of the program other than the bar, or nothing. A
# console left open by a failed action counts only with $1 = console.
e2e_other_window() {
  local w title
  for w in $(xdotool search --onlyvisible --pid "$MIRVAN_PID" 2>/dev/null); do
    [ "$w" = "$BAR" ] && continue
    title=$(xdotool getwindowname "$w" 2>/dev/null)
    # Qt's own helper windows have no title; every dialog has one.
    [ -n "$title" ] || continue
    if [ "${1:-}" != console ] && [ -z "$(e2e_tool_running)" ] && _e2e_is_console "$w"; then continue; fi
    echo "$w"; return 0
  done
  return 1
}

# The visible tool console, or nothing.
_e2e_find_console() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$MIRVAN_PID" 2>/dev/null); do
    _e2e_is_console "$w" && { echo "$w"; return 0; }
  done
  return 1
}
# The console kept open after an action: shown as the action ends, it may
# take the window system a moment on a loaded machine.
e2e_console() { e2e_poll "${1:-5}" _e2e_find_console; }
# (It is titled after its tool and document: "platex - paper".)
_e2e_is_console() { [[ "$(xdotool getwindowname "$1" 2>/dev/null)" =~ ' - '|platex|bibtex|mendex|dvipdfmx ]]; }

# The console's whole transcript (click into it, select all, copy).
e2e_console_text() {
  local w=$1 marker="e2e-marker-$RANDOM" t n=0
  printf '%s' "$marker" | xclip -selection clipboard -i >/dev/null 2>&1
  e2e_geometry "$w"
  e2e_pointer_to $((X + WIDTH / 2)) $((Y + HEIGHT / 3))
  xdotool click 1
  xdotool key --clearmodifiers ctrl+a ctrl+c
  while [ $n -lt 40 ]; do
    t=$(xclip -selection clipboard -o 2>/dev/null)
    [ "$t" != "$marker" ] && { printf '%s' "$t"; return 0; }
    sleep 0.05; n=$((n + 1))
  done
}

e2e_window_text() { xdotool getwindowname "$1" 2>/dev/null; }

# Geometry of window $1 in the shell variables X Y WIDTH HEIGHT.
# (xwininfo's absolute position: xdotool's is off by the frame under a
# reparenting window manager.)
e2e_geometry() {
  local info
  info=$(xwininfo -id "$1") || e2e_fail "no window $1"
  X=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  WIDTH=$(awk '/^ *Width:/ { print $NF }' <<<"$info")
  HEIGHT=$(awk '/^ *Height:/ { print $NF }' <<<"$info")
}

# Clicks the centre of the rectangle x y w h, given in dialog units, of
# window $1 whose client area measures $2 x $3 dialog units.
e2e_click_du() {
  local win=$1 dw=$2 dh=$3 x=$4 y=$5 w=$6 h=$7 px py
  e2e_geometry "$win"
  read -r px py < <(awk -v X="$X" -v Y="$Y" -v W="$WIDTH" -v H="$HEIGHT" \
    -v dw="$dw" -v dh="$dh" -v x="$x" -v y="$y" -v w="$w" -v h="$h" \
    'BEGIN { printf "%d %d\n", X + (x + w / 2) * W / dw, Y + (y + h / 2) * H / dh }')
  e2e_pointer_to "$px" "$py"
  xdotool click 1
}

# Moves the pointer and waits until it is there. (mousemove --sync to the
# place the pointer already is waits for a motion that never comes.)
e2e_pointer_to() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
  xdotool mousemove --sync "$1" "$2"
}

# Root coordinates of the centre of a dialog-unit rectangle of the bar.
e2e_bar_point() {
  local x=$1 y=$2 w=$3 h=$4
  e2e_geometry "$BAR"
  awk -v X="$X" -v Y="$Y" -v W="$WIDTH" -v H="$HEIGHT" -v x="$x" -v y="$y" -v w="$w" -v h="$h" \
    'BEGIN { printf "%d %d\n", X + (x + w / 2) * W / 235, Y + (y + h / 2) * H / 38 }'
}

# The bar's controls (template 146), as x y w h in dialog units.
declare -A BAR_RECT=(
  [edit]="0 0 22 21" [tex]="25 0 22 21" [dvi]="50 0 22 21" [pdf]="75 0 22 21"
  [pdfread]="99 0 22 21" [texpdf]="124 0 22 21" [prompt]="187 0 22 21"
  [settings]="213 0 22 21" [select]="190 23 45 12" [history]="24 23 162 12"
)
# Clicks a control of the bar by name (keys of BAR_RECT).
e2e_press() {
  local r=${BAR_RECT[$1]:?unknown control $1}
  # shellcheck disable=SC2086
  e2e_click_du "$BAR" 235 38 $r
}

# The Settings dialog (template 137, 91 x 150 dialog units).
declare -A SETTINGS_RECT=(
  [close]="7 128 77 14" [editor]="7 7 77 14" [tex]="7 21 77 14" [bib]="7 37 77 14"
  [dvipdf]="7 52 77 14" [mkidx]="7 68 77 14" [mkidxopt]="7 83 77 14" [pdfsize]="7 99 77 14"
)
e2e_press_settings() {
  local win=$1 r=${SETTINGS_RECT[$2]:?unknown button $2}
  # shellcheck disable=SC2086
  e2e_click_du "$win" 91 150 $r
}

# The paper size dialog (template 173, 181 x 157 dialog units).
declare -A PDFSIZE_RECT=(
  [ok]="113 7 50 14" [cancel]="113 24 50 14" [nshow]="25 57 143 10" [neshow]="25 71 102 10"
  [A3]="10 105 24 10" [A4]="38 105 24 10" [A5]="66 105 24 10" [A6]="95 105 24 10"
  [Landscape]="128 105 41 10" [B3]="11 120 24 10" [B4]="38 120 24 10" [B5]="66 120 24 10"
  [B6]="95 120 24 10" [B5var]="128 120 33 10" [Letter]="11 135 29 10" [Legal]="49 135 29 10"
  [Ledger]="87 135 30 10" [Tabloid]="128 135 37 10"
)
e2e_press_pdfsize() {
  local win=$1 r=${PDFSIZE_RECT[$2]:?unknown control $2}
  # shellcheck disable=SC2086
  e2e_click_du "$win" 181 157 $r
}

# Gives window $1 the keyboard focus, then sends keys / types text.
# Keys go to the focused window, so they are sent only once window $1 is
# the active one (a key meant for a dialog must never reach the bar).
e2e_focus() {
  local w=$1 n=0
  while [ $n -lt 50 ]; do
    xdotool windowactivate --sync "$w" >/dev/null 2>&1
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$w" ] && return 0
    sleep 0.1; n=$((n + 1))
  done
  e2e_fail "window $w ($(e2e_window_text "$w")) does not take the focus"
}
e2e_key() { local w=$1; shift; e2e_focus "$w"; xdotool key --clearmodifiers "$@"; }
e2e_type() { local w=$1; shift; e2e_focus "$w"; xdotool type --delay 20 -- "$*"; }

# Waits for a message box of the program (caption $3, default the
# application title) and answers it with key $2 (Return = the default
# button). $1 says which box is expected, for the failure report: Qt offers
# no way to read a box's text from outside on X11, so the texts themselves
# are left to the unit tests.
e2e_answer_box() {
  local want=$1 key=${2:-Return} title=${3:-^${APP_TITLE}\$} box
  box=$(e2e_wait_window "$title" 30) || e2e_fail "no message box '$title' ($want)"
  e2e_log "box $box '$(e2e_window_text "$box")' ($want): $key"
  e2e_key "$box" "$key"
  e2e_wait_closed "$box" 10 || e2e_fail "message box did not close"
}

# The text in the history box's edit field (click, select all, copy). An
# empty field copies nothing, so the clipboard keeps a marker and the
# result is empty.
e2e_history_text() {
  local marker="e2e-marker-$RANDOM" t n=0
  printf '%s' "$marker" | xclip -selection clipboard -i >/dev/null 2>&1
  e2e_press history
  xdotool key --clearmodifiers ctrl+a ctrl+c
  while [ $n -lt 30 ]; do
    t=$(xclip -selection clipboard -o 2>/dev/null)
    [ "$t" != "$marker" ] && { printf '%s' "$t"; return 0; }
    sleep 0.05; n=$((n + 1))
  done
}

# Waits until the bar handles clicks again: every action runs to its end
# before the next click is handled, and clicks that arrive while a tool runs
# are dropped. So a click on "ﾌｧｲﾙ選択" that opens the file dialog proves the
# action before it has ended; the dialog is then cancelled, which changes
# nothing. Fails when a message box is in the way (see e2e_answer_box).
e2e_wait_idle() {
  local deadline=$((SECONDS + ${1:-120})) w title pinged_at=-100
  while :; do
    w=$(e2e_other_window)
    if [ -n "$w" ]; then
      title=$(e2e_window_text "$w")
      case "$title" in
        "$APP_TITLE"|Warning*) e2e_fail "unexpected message box '$title'" ;;
        "$PDFSIZE_TITLE"|"$SETTINGS_TITLE"|"MakeIndex のオプション") e2e_fail "unexpected dialog '$title'" ;;
      esac
      # The file dialog of our click, rather than a tool's console (which
      # names its tool). A click that came while a tool ran is either
      # dropped or handled after the action: both prove it has ended.
      if [ $pinged_at -ge 0 ] && [ -z "$(e2e_tool_running)" ] \
         && ! [[ "$title" =~ (platex|bibtex|mendex|dvipdfmx) ]]; then
        # Closed through the window manager, as a cancel, so no key can
        # stray to the bar.
        wmctrl -i -c "$w"
        e2e_wait_closed "$w" 10 || e2e_fail "file dialog did not close"
        return 0
      fi
    elif [ -z "$(e2e_tool_running)" ] && [ $((SECONDS - pinged_at)) -ge 2 ]; then
      # (Clicked again only when no dialog came for a while: a loaded
      # machine may take seconds to show the first file dialog.)
      pinged_at=$SECONDS
      e2e_press select
    fi
    kill -0 "$MIRVAN_PID" 2>/dev/null || e2e_fail "mirvan ended"
    [ $SECONDS -lt $deadline ] || e2e_fail "the bar stayed busy"
    sleep 0.05
  done
}

# Prints the tool that is running now (a start line without an end line).
e2e_tool_running() {
  local starts ends
  starts=$(wc -l <"$MIRVAN_TOOL_LOG")
  ends=$( [ -f "$MIRVAN_TOOL_LOG.times" ] && wc -l <"$MIRVAN_TOOL_LOG.times" || echo 0)
  [ "$starts" -gt "$ends" ] && tail -n1 "$MIRVAN_TOOL_LOG" | cut -f1
}

# The sequence of tool runs so far, one "tool args..." per line, from line
# $1 of the log on (default 1), with the working folder checked to be $2.
e2e_runs() {
  local from=${1:-1} dir=${2:-}
  tail -n +"$from" "$MIRVAN_TOOL_LOG" | while IFS=$'\t' read -r tool cwd args; do
    if [ -n "$dir" ] && [ "$cwd" != "$dir" ]; then echo "$tool ran in $cwd"; continue; fi
    printf '%s %s\n' "$tool" "${args//$'\t'/ }"
  done
}
e2e_run_count() { wc -l <"$MIRVAN_TOOL_LOG"; }

e2e_expect_eq() {
  local what=$1 got=$2 want=$3
  [ "$got" = "$want" ] || e2e_fail "$what: got [$got], want [$want]"
}

# The INI value of key $2 in section $1 of Mirvan.ini.
e2e_ini() {
  awk -v s="[$1]" -v k="$2" '
    /^\[/ { in_s = ($0 == s); next }
    in_s { i = index($0, "="); if (i > 0 && substr($0, 1, i - 1) == k) { print substr($0, i + 1); exit } }
  ' "$E2E_WORK/Mirvan.ini" | tr -d '\r'
}

# Waits until key $2 of section $1 in Mirvan.ini reads $3.
e2e_wait_ini() {
  local sec=$1 key=$2 want=$3
  e2e_poll "${4:-10}" eval '[ "$(e2e_ini "$sec" "$key")" = "$want" ]' \
    || e2e_fail "Mirvan.ini [$sec] $key: got [$(e2e_ini "$sec" "$key")], want [$want]"
}

e2e_pass() { e2e_log "PASS: $*"; }

# Waits until console $1 shows text $2 (TeX's error, before its prompt).
e2e_console_shows() {
  local w=$1 want=$2 deadline=$((SECONDS + ${3:-30}))
  while [[ "$(e2e_console_text "$w")" != *"$want"* ]]; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}
# Types answer $2 (may be empty) and Enter into console $1's input line.
# Reading the transcript puts the focus in it, so the line is clicked first.
e2e_console_answer() {
  e2e_geometry "$1"
  e2e_pointer_to $((X + WIDTH / 3)) $((Y + HEIGHT - 20))
  xdotool click 1
  [ -n "$2" ] && xdotool type --delay 20 -- "$2"
  xdotool key --clearmodifiers Return
}
# Opens the bar's context menu (between the button groups) and picks the
# entry of mnemonic $1.
e2e_bar_menu() {
  local px py
  read -r px py < <(e2e_bar_point 150 2 35 17)
  xdotool mousemove "$px" "$py" click 3
  _e2e_menu_open() { [ "$(xdotool search --onlyvisible --pid "$MIRVAN_PID" 2>/dev/null | wc -l)" -ge 2 ]; }
  e2e_poll 10 _e2e_menu_open || e2e_fail "no context menu"
  xdotool key --clearmodifiers "$1"
}
# The console kept open after an action: its last non-empty line must
# contain $1, and its transcript must hold $2.
e2e_expect_console() {
  local w text last
  w=$(e2e_console) || e2e_fail "no console stayed open ($1)"
  text=$(e2e_console_text "$w")
  last=$(grep -v '^$' <<<"$text" | tail -n1)
  e2e_log "console last line: $last"
  [[ "$last" == *"$1"* ]] || e2e_fail "last line '$last' does not say '$1'"
  [[ "$text" == *"$2"* ]] || e2e_fail "transcript lacks '$2': $text"
}
