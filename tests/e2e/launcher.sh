#!/usr/bin/env bash
# The launcher dialog driven as a user drives it, with keys and clicks on a virtual X display of
# its own (Xvfb, 1024 x 768), and the show's window measured with xwininfo.
#
#   launcher.sh PULSAR DEMO_DAT SCENARIO [PNG]
#
# Scenarios:
#   escape    Escape quits: exit 0, nothing unpacked, no show window
#   dont      a click on "Don't..." does the same
#   enter     Enter starts the show full screen in the preselected (desktop) mode
#   windowed  a smaller mode picked with the keys and "fullscreen" unticked by a click give a
#             window of that size in the middle of the screen
#   skipped   --no-launcher and --headless start the show without asking
#   no-module     a program whose launcher module is missing says so and starts the show with
#                 the command line's choices (full screen in the desktop's mode)
#   escape-show   Escape while full-screen frames run ends the show: exit 0, no private data
#                 left, no process of its session left, the display in its mode again
#   close-show    the same when the window is asked to close (needs PULSAR_CLOSE_WINDOW, the
#                 helper that sends WM_DELETE_WINDOW)
#   screenshot PNG   writes a picture of the dialog
#
# Every wait polls with a deadline; nothing sleeps and hopes.
set -euo pipefail

pulsar=$(realpath "$1")
archive=$(realpath "$2")
scenario=$3
picture=${4:-}

for tool in Xvfb xdotool xwininfo xev xprop import; do
  command -v "$tool" >/dev/null || { echo "launcher.sh needs $tool (see scripts/packages.txt)" >&2; exit 1; }
done
[[ -f $archive ]] || { echo "no archive at $archive: build demo.dat first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid='' xev_pid='' show_pid=''
cleanup() {
  for pid in $show_pid $xev_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Killed (a ctest time-out): still take the display and the scratch directory down.
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL ($scenario): $*" >&2
  [[ -s $work/show.log ]] && { echo "--- show's output:" >&2; tail -n 30 "$work/show.log" >&2; }
  exit 1
}
# A command that fails where nothing expects it still says which one, with the show's output.
set -E
trap 'fail "line $LINENO: \"$BASH_COMMAND\" failed"' ERR

# until SECONDS_LIMIT COMMAND...: runs COMMAND every 50 ms until it succeeds or the time is up.
until_ok() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# A display of our own: Xvfb picks a free number and writes it to the file.
mkdir -p "$work/run" "$work/home" "$work/tmp" && install -d -m 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
until_ok 60 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
until_ok 60 xprop -root _XKB_RULES_NAMES >/dev/null 2>&1 || fail "Xvfb does not answer on $DISPLAY"

# Every window created on the display, with its size, from here on. The property change is
# the marker that tells when xev is listening.
# An xev that lost its connection while the fresh server settled is started again.
xev_listening() {
  if [[ -z $xev_pid ]] || ! kill -0 "$xev_pid" 2>/dev/null; then
    stdbuf -oL xev -root -event substructure -event property >>"$work/xev.log" 2>&1 &
    xev_pid=$!
  fi
  xprop -root -f _PULSAR_E2E 8s -set _PULSAR_E2E ready && grep -q _PULSAR_E2E "$work/xev.log"
}
until_ok 60 xev_listening || fail "xev is not listening: $(tail -n 5 "$work/xev.log")"

cp "$archive" "$work/run/demo.dat"
# The show's own directories: the working directory and wherever it may put private data. (The
# toolkit may keep caches in the home directory; that is not the show's.)
fingerprint() { (cd "$work" && stat -c '%n %s %y' run run/* runtime tmp && ls -AR run runtime tmp); }
fingerprint >"$work/before"

# The show leads a session of its own, so whatever it starts can be found after it ended.
start_show() {
  (cd "$work/run" &&
    exec setsid env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy NO_AT_BRIDGE=1 HOME="$work/home" \
      XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" "$pulsar" "$@") >"$work/show.log" 2>&1 &
  show_pid=$!
}

show_ended() { ! kill -0 "$show_pid" 2>/dev/null; }

# Waits (at most LIMIT seconds) for the show to end and checks it ended with 0.
expect_exit_zero() {
  until_ok "$1" show_ended || fail "the show did not end within $1 s"
  local status=0
  wait "$show_pid" || status=$?
  show_pid=''
  ((status == 0)) || fail "the show ended with $status"
}

# The first visible window whose name matches $1, left in $window; false when there is none.
# A window can be unmapped between two questions, so each answer is used once and not trusted later.
found_window() {
  window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
  [[ -n $window ]]
}

wait_for_window() {
  until_ok "$2" found_window "$1" || fail "no visible window named $1 within $2 s"
}

# Window geometry as "X Y WIDTH HEIGHT".
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                          /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# Clicks at a fraction of the dialog's width and height: its layout scales with the font as a
# whole, so a control's place in dialog units divided by the dialog's size finds it.
click_dialog() {
  local dialog=$1 fx=$2 fy=$3
  read -r x y w h < <(geometry "$dialog")
  xdotool mousemove --sync "$(awk -v a="$x" -v b="$w" -v f="$fx" 'BEGIN{printf "%d", a + b * f}')" \
    "$(awk -v a="$y" -v b="$h" -v f="$fy" 'BEGIN{printf "%d", a + b * f}')" click 1
}

open_dialog() {
  start_show "$@"
  wait_for_window '^Pulsar$' 30
  dialog=$window
  xdotool windowfocus --sync "$dialog"
}

# "WIDTH HEIGHT" of every window created on the display since xev started listening.
created_sizes() {
  grep -A1 CreateNotify "$work/xev.log" | grep -o 'width [0-9]*, height [0-9]*' | awk '{print $2 + 0, $4 + 0}'
}

# Nothing unpacked, no show window: the directories are as they were, and every window the
# show made was smaller than the smallest mode (the dialog and the toolkit's helpers).
expect_nothing_done() {
  fingerprint >"$work/after"
  diff -u "$work/before" "$work/after" >&2 || fail "the show wrote into its directories"
  created_sizes | awk '$1 >= 640 && $2 >= 480 {big = 1} END {exit big}' ||
    fail "a window of a show's size was created: $(created_sizes | tr '\n' ' ')"
}

# The show's window must come to "X Y WIDTH HEIGHT"; then the show runs to its end. Polled: on a
# display without a window manager the window may be mapped before it is moved and sized.
expect_show_window() {
  local placed=''
  until_ok 60 show_window_at "$1" || fail "$2 expected at $1, got ${placed:-no window}"
  expect_exit_zero 300
}
show_window_at() { found_window '^engine$' && placed=$(geometry "$window" 2>/dev/null) && [[ $placed == "$1" ]]; }

current_mode() { xrandr | awk '/\*/ {print $1; exit}'; }

# A full-screen show whose frames are running (its capture has written one), ended by $1.
end_running_show() {
  local mode session show
  mode=$(current_mode)
  start_show --no-launcher --fullscreen --clock fixed:1 --capture "$work/frames"
  session=$show_pid
  wait_for_window '^engine$' 60
  show=$window
  until_ok 120 test -e "$work/frames/frame_00001.png" || fail "no frame was drawn"
  "$@" "$show"
  expect_exit_zero 60
  # The run-time directory changed when the private directory came and went; its contents did not.
  diff -u <(grep -v '^runtime ' "$work/before") <(fingerprint | grep -v '^runtime ') >&2 ||
    fail "the show left something in its directories"
  ! pgrep -s "$session" >/dev/null || fail "processes of the show's session are left: $(pgrep -a -s "$session")"
  [[ $(current_mode) == "$mode" ]] || fail "the display is in mode $(current_mode), not $mode as before"
}
press_escape() { xdotool windowfocus --sync "$1" key Escape; }
close_window() { "${PULSAR_CLOSE_WINDOW:?the close-show scenario needs PULSAR_CLOSE_WINDOW}" "$1"; }

# Quick runs of the show: one frame after loading.
quick=(--clock fixed:40 --end-at 0)

case $scenario in
  escape)
    open_dialog "${quick[@]}"
    xdotool key Escape
    expect_exit_zero 20
    expect_nothing_done
    ;;
  dont)
    open_dialog "${quick[@]}"
    click_dialog "$dialog" 0.734 0.887  # "Don't...", 74..133 x 96..108 of 141 x 115 units
    expect_exit_zero 20
    expect_nothing_done
    ;;
  enter)
    open_dialog "${quick[@]}"
    xdotool key Return
    expect_show_window "0 0 1024 768" "full screen in the desktop's mode"
    ;;
  windowed)
    export PULSAR_DISPLAY_MODES="1280x1024@60,640x480@60,800x600@60,800x600@75,1024x768@60"
    open_dialog "${quick[@]}"
    # From "Demo!" two steps to the resolutions, one mode up from the desktop's 1024 x 768.
    xdotool key Tab Tab Up
    click_dialog "$dialog" 0.699 0.748  # "fullscreen", 75..122 x 81..91 of 141 x 115 units
    xdotool key Return
    expect_show_window "112 84 800 600" "a centred 800 x 600 window"
    ;;
  skipped)
    # Neither waits for a dialog: a dialog would hold the show until the deadline.
    start_show --no-launcher "${quick[@]}"
    expect_exit_zero 300
    created_sizes | grep -qx '1024 768' || fail "the show's window did not open: $(created_sizes | tr '\n' ' ')"
    start_show --headless "${quick[@]}"
    expect_exit_zero 300
    ;;
  no-module)
    # The program alone, without the module that is built beside it.
    mkdir -p "$work/bin" && cp "$pulsar" "$work/bin/pulsar"
    pulsar="$work/bin/pulsar"
    start_show "${quick[@]}"
    expect_show_window "0 0 1024 768" "full screen in the desktop's mode"
    grep -q "The launcher could not be loaded (.*pulsar-launcher.so" "$work/show.log" ||
      fail "no word of the missing launcher: $(cat "$work/show.log")"
    ;;
  escape-show)
    end_running_show press_escape
    ;;
  close-show)
    end_running_show close_window
    ;;
  screenshot)
    [[ -n $picture ]] || fail "screenshot needs a PNG path"
    open_dialog "${quick[@]}"
    xdotool mousemove --sync 0 0  # no tooltip in the picture
    import -window "$dialog" "$picture"
    xdotool key Escape
    expect_exit_zero 20
    echo "wrote $picture"
    ;;
  *)
    fail "unknown scenario"
    ;;
esac
echo "ok: $scenario"
