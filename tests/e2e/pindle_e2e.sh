#!/usr/bin/env bash
# Runs the show like a person would, on a virtual display of its own.
#   pindle_e2e.sh PINDLE CONTENT_DIR ARTIFACT_DIR start|keystart|sigterm|quit|keyquit|nodisplay
# start:     clicks "Start", waits for the main loop, takes a screenshot, presses Escape and
#            checks the exit code and the log.
# keystart:  the same without the mouse: Return and Escape leave the dialog as it is, then
#            Space presses "Start", which has the focus as the dialog opens.
# sigterm:   the same as start, but ends the show with SIGTERM, which must end it as cleanly.
# quit:      clicks "Quit" and checks that the program ends quietly without unpacking anything.
# keyquit:   the same without the mouse: Tab moves the focus on to "Quit" and Space presses it.
# nodisplay: runs without any display and expects the advice to use the capture tool.
set -euo pipefail

if [[ $4 == nodisplay ]]; then
    out=$(cd "$(mktemp -d)" && env -u DISPLAY -u WAYLAND_DISPLAY "$1" 2>&1) && rc=0 || rc=$?
    [[ $rc -eq 1 ]] || { echo "FAIL: exit code $rc without a display" >&2; exit 1; }
    [[ $out == "pindle: no display; use pindle-capture to render the show without one" ]] ||
        { echo "FAIL: unexpected output: $out" >&2; exit 1; }
    echo "PASS nodisplay"
    exit 0
fi

if [[ -z "${PINDLE_E2E_INNER:-}" ]]; then
    export PINDLE_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x720x24" "$0" "$@"
fi

pindle=$1 content=$2 artifacts=$3 mode=$4
mkdir -p "$artifacts"
work=$(mktemp -d)
pid=""
cleanup() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f "$work/run/log.txt" ]] && { echo "--- log.txt" >&2; cat "$work/run/log.txt" >&2; }
    [[ -f "$work/stderr" ]] && { echo "--- stderr" >&2; cat "$work/stderr" >&2; }
    exit 1
}

mkdir -p "$work/run" "$work/tmp"
cp "$content/demodat" "$content/setup.jpg" "$work/run/"
cd "$work/run"
export TMPDIR="$work/tmp" PINDLE_NO_MESSAGE_BOX=1 SDL_AUDIODRIVER=dummy

"$pindle" >"$work/stdout" 2>"$work/stderr" &
pid=$!

dialog=$(timeout 20 xdotool search --sync --name "^Pindle setup$" | head -n 1) ||
    fail "the setup dialog did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$dialog")"
import -window root "$artifacts/dialog.png"

# The dialog's controls sit on the black band: Start at (235, 161), Quit at (313, 161).
case $mode in
quit) xdotool mousemove $((X + 313 + 30)) $((Y + 161 + 8)) click 1 ;;
keystart | keyquit)
    # No window manager runs here to give the new window the keyboard, as one would on a
    # desktop; the test gives it.
    timeout 5 xdotool windowfocus --sync "$dialog" || fail "the dialog did not take the focus"
    if [[ $mode == keyquit ]]; then
        xdotool key Tab space
    else
        xdotool key Return Escape
        sleep 0.5
        kill -0 "$pid" 2>/dev/null || fail "Return or Escape ended the program"
        xdotool search --name "^Pindle setup$" >/dev/null || fail "Return or Escape closed the dialog"
        [[ $(grep -c LODA log.txt) -eq 1 ]] || fail "Return or Escape went past the dialog"
        xdotool key space
    fi
    ;;
*) xdotool mousemove $((X + 235 + 30)) $((Y + 161 + 8)) click 1 ;;
esac

if [[ $mode == quit || $mode == keyquit ]]; then
    timeout 10 tail --pid="$pid" -f /dev/null || fail "pindle did not end after Quit"
    wait "$pid" && rc=0 || rc=$?
    pid=""
    [[ $rc -eq 0 ]] || fail "exit code $rc after Quit"
    [[ ! -e "$TMPDIR/korvane_data_orbendale" ]] || fail "Quit still unpacked the archive"
    grep -q "LODA 110" log.txt || fail "checkpoint 110 missing"
    [[ $(grep -c LODA log.txt) -eq 1 ]] || fail "checkpoints after 110 were logged"
    echo "PASS $mode"
    exit 0
fi

for _ in $(seq 1 300); do
    grep -q "LODA 195" log.txt 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "pindle ended before the main loop"
    sleep 0.1
done
grep -q "LODA 195" log.txt || fail "the main loop never started"
sleep 1
import -window root "$artifacts/show.png"

window=$(xdotool search --name "^Pindle :: by Korvane$" | head -n 1) || fail "no show window"
if [[ $mode == sigterm ]]; then
    kill -TERM "$pid"
else
    xdotool windowactivate "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
    xdotool keydown Escape
    sleep 0.3
    xdotool keyup Escape
fi

timeout 10 tail --pid="$pid" -f /dev/null || fail "pindle did not end after $mode"
wait "$pid" && rc=0 || rc=$?
pid=""
[[ $rc -eq 0 ]] || fail "exit code $rc after $mode"

for n in 161 170 179 195; do grep -q "LODA $n\$" log.txt || fail "checkpoint $n missing"; done
grep -q "OpenGl Vendor: " log.txt || fail "no vendor line"
grep -q "OpenGl Version: " log.txt || fail "no version line"
# Constructing the controller restarted the log: the first two checkpoints are gone.
! grep -qE "LODA (110|146)$" log.txt || fail "the log was not restarted"
[[ -f "$TMPDIR/korvane_data_orbendale/music/velmora.mp3" ]] || fail "the archive was not unpacked"
echo "PASS $mode"
