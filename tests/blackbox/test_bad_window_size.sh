#!/usr/bin/env bash
# A window size the window library refuses ends the game with its message and status 255, never a crash.
source "$(dirname "$0")/harness.sh"

for config in "WIDTH=0\n" "HEIGHT=-600\n" "WIDTH=0800\nHEIGHT=600\n" "WIDTH=40000\nHEIGHT=40000\n"; do
    bb_start "$config"
    bb_expect_exit 255
    bb_expect_console "Window failed to load!"
    grep -q "GL Vendor" "$BB_DIR/console.txt" && bb_fail "the game went on after the window failed"
    rm -rf "$BB_DIR/run"
    kill "$BB_XVFB_PID" 2>/dev/null
    BB_XVFB_PID=""
done
bb_finish
