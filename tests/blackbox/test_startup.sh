#!/usr/bin/env bash
# The real game opens its configured window, leaves the start screen on Enter and ends on Escape.
source "$(dirname "$0")/harness.sh"

bb_start "WIDTH=1024\nHEIGHT=768\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || bb_finish
[ "$(bb_window_size)" = "1024x768" ] || bb_fail "window is $(bb_window_size), expected 1024x768"
[ "$(bb_window_name)" = "Vellmar" ] || bb_fail "window title is '$(bb_window_name)'"
bb_wait_console "GLSL Version"
bb_screenshot start
bb_key Return
sleep 0.5
bb_screenshot play
bb_key Escape
bb_expect_exit 0

bb_expect_console_order "WIDTH=1024" "HEIGHT=768" "REFRESH_RATE=60" "FULLSCREEN=false" \
    "GL Vendor : Mesa/X.org"
grep -q "^GL Renderer : ." "$BB_DIR/console.txt" || bb_fail "no renderer line"
grep -q "^GL Version (string) : ." "$BB_DIR/console.txt" || bb_fail "no version line"
grep -qE "^GL Version \(integer\) : [0-9]+\.[0-9]+$" "$BB_DIR/console.txt" || bb_fail "no integer version line"
grep -q "^GLSL Version : ." "$BB_DIR/console.txt" || bb_fail "no GLSL line"
bb_finish
