# Black-box harness, sourced by every black-box and damage script and by the soak: the real binary
# in a throw-away copy of the run folder, under its own Xvfb, with real keys and mouse from xdotool:
#   source "$(dirname "$0")/harness.sh"
#   bb_start "WIDTH=1024\nHEIGHT=768\n"   # config.ini contents, or "" for none
#   bb_key Return; bb_expect_console "GL Vendor"; bb_expect_exit 0
# A test may define bb_prepare_run before bb_start: it gets the run-folder copy's path and can put
# files into it (or take them away) before the game starts.
# Console output goes to $BB_DIR/console.txt; screenshots and the console are kept under
# $VELLMAR_BUILD_DIR/blackbox/<test name>/ for a look afterwards.
# A script may run several games one after another on the same X server: bb_next_game ends the
# current one (if still running) and clears the run folder for the next bb_start.
set -u

: "${VELLMAR_RUN_DIR:?VELLMAR_RUN_DIR must name the built run folder}"
BB_NAME=$(basename "$0" .sh)
BB_ARTIFACTS="${VELLMAR_BUILD_DIR:-/tmp}/blackbox/$BB_NAME"
BB_DIR=$(mktemp -d /tmp/vellmar-bb-XXXXXX)
BB_XVFB_PID=""
BB_GAME_PID=""
BB_WINDOW=""
BB_FAILED=0
mkdir -p "$BB_ARTIFACTS"

bb_log() { echo "[$BB_NAME] $*"; }

bb_fail()
{
    bb_log "FAIL: $*"
    BB_FAILED=1
}

bb_cleanup()
{
    [ -n "$BB_GAME_PID" ] && kill -9 "$BB_GAME_PID" 2>/dev/null
    [ -n "$BB_XVFB_PID" ] && kill "$BB_XVFB_PID" 2>/dev/null
    [ -f "$BB_DIR/console.txt" ] && cp "$BB_DIR/console.txt" "$BB_ARTIFACTS/console.txt"
    rm -rf "$BB_DIR"
}
trap bb_cleanup EXIT

# Starts a private X server and exports its DISPLAY.
bb_start_xvfb()
{
    local fdfile="$BB_DIR/display"
    # -noreset: a game that ends must not make the server reset under the next one connecting.
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$fdfile" 2>"$BB_DIR/xvfb.log" &
    BB_XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    [ -s "$fdfile" ] || { bb_log "Xvfb did not start"; cat "$BB_DIR/xvfb.log"; exit 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
}

# Copies the run folder, writes config.ini (printf format; "" writes none) and starts the game
# with closed standard input.
bb_start()
{
    local config="$1"
    cp -r "$VELLMAR_RUN_DIR" "$BB_DIR/run"
    rm -f "$BB_DIR/run/config.ini"
    [ -n "$config" ] && printf "$config" >"$BB_DIR/run/config.ini"
    if declare -F bb_prepare_run >/dev/null; then
        bb_prepare_run "$BB_DIR/run" || { bb_log "preparing the run folder failed"; exit 1; }
    fi
    if [ -z "${DISPLAY_OVERRIDE:-}" ] && { [ -z "$BB_XVFB_PID" ] || ! kill -0 "$BB_XVFB_PID" 2>/dev/null; }; then
        bb_start_xvfb
    fi
    (cd "$BB_DIR/run" && exec ./vellmar </dev/null >"$BB_DIR/console.txt" 2>&1) &
    BB_GAME_PID=$!
}

# Waits for the game's window to appear and focuses it; fails the test when it does not.
bb_wait_window()
{
    for _ in $(seq 300); do
        BB_WINDOW=$(xdotool search --onlyvisible --name '^Vellmar' 2>/dev/null | head -n1)
        if [ -n "$BB_WINDOW" ]; then
            xdotool windowfocus --sync "$BB_WINDOW" 2>/dev/null
            sleep 0.3
            return 0
        fi
        kill -0 "$BB_GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    bb_fail "no game window appeared"
    return 1
}

# Real key presses through the X server (XTEST), each pressed and released.
bb_key()
{
    for key in "$@"; do
        xdotool key --delay 80 "$key"
        sleep 0.2
    done
}

bb_mouse_to() { xdotool mousemove --window "$BB_WINDOW" "$1" "$2"; sleep 0.2; }

# Only the game window's client area; coordinates in it are pixels from its top-left corner.
bb_window_screenshot() { import -window "$BB_WINDOW" "$BB_ARTIFACTS/$1.png" 2>/dev/null; }

# The colour of one pixel of a screenshot as "r g b" (0-255).
bb_pixel()
{
    convert "$BB_ARTIFACTS/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*#\([0-9A-Fa-f]\{2\}\)\([0-9A-Fa-f]\{2\}\)\([0-9A-Fa-f]\{2\}\).*/\1 \2 \3/p' |
        { read -r r g b && printf "%d %d %d\n" "0x$r" "0x$g" "0x$b"; }
}

# Whether a pixel is within a tolerance of the expected colour: bb_pixel_near shot x y r g b [tolerance]
bb_pixel_near()
{
    local r g b d
    read -r r g b <<<"$(bb_pixel "$1" "$2" "$3")"
    [ -n "$b" ] || return 1
    for d in $((r - $4)) $((g - $5)) $((b - $6)); do
        [ "${d#-}" -le "${7:-8}" ] || return 1
    done
}

bb_window_size() { xdotool getwindowgeometry "$BB_WINDOW" | sed -n 's/.*Geometry: *//p'; }
bb_window_name() { xdotool getwindowname "$BB_WINDOW"; }

# Waits until the console holds a line with the given text.
bb_wait_console()
{
    for _ in $(seq 200); do
        grep -qF -- "$1" "$BB_DIR/console.txt" 2>/dev/null && return 0
        sleep 0.1
    done
    bb_fail "console never showed: $1"
    return 1
}

bb_expect_console()
{
    grep -qxF -- "$1" "$BB_DIR/console.txt" || bb_fail "console lacks the line: $1"
}

# The lines given must appear in the console in this order (not necessarily adjacent).
bb_expect_console_order()
{
    local previous=0 line number
    for line in "$@"; do
        number=$(grep -nxF -- "$line" "$BB_DIR/console.txt" | head -n1 | cut -d: -f1)
        if [ -z "$number" ] || [ "$number" -le "$previous" ]; then
            bb_fail "console line out of order or missing: $line"
            return 1
        fi
        previous=$number
    done
}

# Waits for the game to end and compares its exit status.
bb_expect_exit()
{
    local expected="$1" status=""
    for _ in $(seq 300); do
        kill -0 "$BB_GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$BB_GAME_PID" 2>/dev/null; then
        bb_fail "the game did not exit"
        return 1
    fi
    wait "$BB_GAME_PID"
    status=$?
    BB_GAME_PID=""
    [ "$status" = "$expected" ] || bb_fail "exit status $status, expected $expected"
}

# Ends the current game if it still runs and removes its run folder; the X server stays.
bb_next_game()
{
    if [ -n "$BB_GAME_PID" ]; then
        kill -9 "$BB_GAME_PID" 2>/dev/null
        wait "$BB_GAME_PID" 2>/dev/null
        BB_GAME_PID=""
    fi
    BB_WINDOW=""
    rm -rf "$BB_DIR/run"
}

bb_finish()
{
    if [ "$BB_FAILED" != 0 ]; then
        bb_log "console was:"
        sed 's/^/    /' "$BB_DIR/console.txt"
        exit 1
    fi
    bb_log "passed"
    exit 0
}
