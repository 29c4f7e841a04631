# Shared by every black-box script and the soak: the real binary in a throw-away copy of the run
# folder, under its own Xvfb, with real keys and mouse from xdotool. Every wait is for a condition
# with a time-out; screenshots and consoles stay under $VELLMAR_BUILD_DIR/blackbox/<test>/.
set -u
: "${VELLMAR_RUN_DIR:?VELLMAR_RUN_DIR must name the built run folder}"
BB_NAME=$(basename "$0" .sh)
BB_ARTIFACTS="${VELLMAR_BUILD_DIR:-/tmp}/blackbox/$BB_NAME"
BB_DIR=$(mktemp -d /tmp/vellmar-bb-XXXXXX)
BB_CONSOLE="$BB_DIR/console.txt"
BB_XVFB_PID="" BB_GAME_PID="" BB_WINDOW="" BB_FAILED=0 BB_CASES=0
mkdir -p "$BB_ARTIFACTS"
bb_log() { echo "[$BB_NAME] $*"; }
bb_fail() { bb_log "FAIL: $*"; BB_FAILED=1; }
bb_cleanup()
{
    [ -n "$BB_GAME_PID" ] && kill -9 "$BB_GAME_PID" 2>/dev/null
    [ -n "$BB_XVFB_PID" ] && kill "$BB_XVFB_PID" 2>/dev/null
    rm -rf "$BB_DIR"
}
trap bb_cleanup EXIT
# bb_until <seconds> <command...>: true as soon as the command succeeds, false after the time-out.
bb_until()
{
    local end=$((SECONDS + $1))
    shift
    until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done
}
bb_start_xvfb()
{
    # -noreset: an ending game must not reset the server under the next; -br: a black root, so
    # a window is not taken for drawn before its first frame.
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset -br 3>"$BB_DIR/display" 2>/dev/null &
    BB_XVFB_PID=$!
    bb_until 10 test -s "$BB_DIR/display" || { bb_log "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(head -n1 "$BB_DIR/display")"
}
# bb_start <config.ini (printf format, "" for none)> [prepare code run with the run folder as $1]
bb_start()
{
    rm -rf "$BB_DIR/run"
    cp -r "$VELLMAR_RUN_DIR" "$BB_DIR/run"
    rm -f "$BB_DIR/run/config.ini"
    [ -n "$1" ] && printf "$1" >"$BB_DIR/run/config.ini"
    [ -n "${2:-}" ] && { eval "prepare() { $2; }"; prepare "$BB_DIR/run" || { bb_log "preparing failed"; exit 1; }; }
    [ -n "$BB_XVFB_PID" ] || bb_start_xvfb
    (cd "$BB_DIR/run" && exec ./vellmar </dev/null >"$BB_CONSOLE" 2>&1) &
    BB_GAME_PID=$!
}
bb_running() { kill -0 "$BB_GAME_PID" 2>/dev/null; }
bb_ended() { ! bb_running; }
bb_visible() { xdotool search --onlyvisible --name '^Vellmar' 2>/dev/null | head -n1; }
bb_window_found() { BB_WINDOW=$(bb_visible); [ -n "$BB_WINDOW" ] || ! bb_running; }
bb_wait_window()
{
    bb_until 60 bb_window_found && [ -n "$BB_WINDOW" ] || { bb_fail "no game window appeared"; return 1; }
    BB_SIZE=$(bb_window_size)
    xdotool windowfocus --sync "$BB_WINDOW" 2>/dev/null
}
bb_key() { xdotool key --delay 80 "$@"; }
bb_window_size() { xdotool getwindowgeometry "$BB_WINDOW" | sed -n 's/.*Geometry: *//p'; }
bb_shot() { import -window "$BB_WINDOW" "$BB_ARTIFACTS/$1.png" 2>/dev/null; }
# Thousandths of the window's pixels that differ by more than 10 % between two screenshots.
bb_changed()
{
    compare -metric AE -fuzz 10% "$BB_ARTIFACTS/$1.png" "$BB_ARTIFACTS/$2.png" null: 2>&1 >/dev/null |
        awk -v size="$(identify -format '%w %h' "$BB_ARTIFACTS/$1.png")" '{ split(size, s); printf "%d\n", 1000 * $1 / (s[1] * s[2] + 1) }'
}
bb_drawn() { bb_shot "$1" && [ "$(identify -format %k "$BB_ARTIFACTS/$1.png")" -gt 2 ]; }
# bb_left <before> <after> [thousandths, default 100]: a new screenshot differs that much.
bb_left() { bb_shot "$2" && [ "$(bb_changed "$1" "$2")" -gt "${3:-100}" ]; }
bb_hidden() { [ -z "$(bb_visible)" ]; }
bb_shown() { [ -n "$(bb_visible)" ]; }
# Enter leaves the start screen once it is drawn (the frame loop has then seen Enter up); the
# picture changes; H, obeyed only in play, hides the window, which comes back by itself.
bb_play()
{
    bb_until 60 bb_drawn start || { bb_fail "the start screen was never drawn"; return 1; }
    bb_key Return
    bb_until 60 bb_left start play || { bb_fail "Enter did not leave the start screen"; return 1; }
    bb_key h
    bb_until 10 bb_hidden || { bb_fail "H did not hide the window"; return 1; }
    bb_until 30 bb_shown || { bb_fail "the hidden window never came back"; return 1; }
}
bb_expect_console() { grep -qxF -- "$1" "$BB_CONSOLE" || bb_fail "console lacks the line: $1"; }
bb_refuse_console() { ! grep -qE -- "$1" "$BB_CONSOLE" || bb_fail "console shows: $(grep -E -- "$1" "$BB_CONSOLE" | head -n1)"; }
# The lines given appear in the console in this order.
bb_expect_order()
{
    local previous=0 line number
    for line in "$@"; do
        number=$(grep -nxF -- "$line" "$BB_CONSOLE" | head -n1 | cut -d: -f1)
        [ -n "$number" ] && [ "$number" -gt "$previous" ] || { bb_fail "missing or out of order: $line"; return 1; }
        previous=$number
    done
}
bb_expect_exit()
{
    bb_until 30 bb_ended || { bb_fail "the game did not exit"; return 1; }
    wait "$BB_GAME_PID"
    local status=$? && BB_GAME_PID=""
    [ "$status" = "$1" ] || bb_fail "exit status $status, expected $1"
}
# Ends the current game if it still runs; a failed case keeps its console. The X server stays.
bb_next_game()
{
    [ -n "$BB_GAME_PID" ] && { kill -9 "$BB_GAME_PID" 2>/dev/null; wait "$BB_GAME_PID" 2>/dev/null; }
    BB_GAME_PID="" BB_WINDOW=""
    BB_CASES=$((BB_CASES + 1))
    bb_refuse_console "^(==[0-9]+==ERROR|SUMMARY: (Address|Undefined|Leak)Sanitizer)|runtime error:"
    cp "$BB_CONSOLE" "$BB_ARTIFACTS/console-$BB_CASES.txt" 2>/dev/null
}
# The game reaches play and ends with status 0 on Escape.
bb_plays()
{
    bb_wait_window && bb_play
    bb_key Escape
    bb_expect_exit 0
}
# The game stops with status 255 and these console lines in order.
bb_fatal() { bb_expect_exit 255 && bb_expect_order "$@"; }
bb_finish()
{
    bb_next_game
    [ "$BB_FAILED" = 0 ] && { bb_log "passed"; exit 0; }
    bb_log "consoles are in $BB_ARTIFACTS; the last was:"
    sed 's/^/    /' "$BB_CONSOLE"
    exit 1
}
