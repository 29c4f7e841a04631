#!/usr/bin/env bash
# A short session of the real game with real keys and the real mouse: the configured window and
# the start-up story on the console, Enter leaves the start screen, a mouse move turns the view and
# back, F1 shows the help pictures, and Escape ends the game with status 0.
source "$(dirname "$0")/harness.sh"

# Thousandths of the pixels that differ by more than 10 % between two screenshots (of rectangle w h x y).
changed_share()
{
    local area=${3:+[$3x$4+$5+$6]}
    compare -metric AE -fuzz 10% "$BB_ARTIFACTS/$1.png$area" "$BB_ARTIFACTS/$2.png$area" null: 2>&1 >/dev/null |
        awk -v total=$((${3:-1024} * ${4:-768})) '{ printf "%d\n", 1000 * $1 / total }'
}

bb_start "WIDTH=1024\nHEIGHT=768\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || bb_finish
[ "$(bb_window_size)" = "1024x768" ] || bb_fail "window is $(bb_window_size), expected 1024x768"
[ "$(bb_window_name)" = "Vellmar" ] || bb_fail "window title is '$(bb_window_name)'"
bb_wait_console "LightCount: 3"
sleep 1
bb_window_screenshot start_screen
bb_key Return
# Frames can take a second each on a loaded machine: wait for each picture rather than a fixed
# time. The hall is in view once the picture is textured and no longer the start screen.
for _ in $(seq 40); do
    sleep 0.5
    bb_window_screenshot hall_start
    [ "$(identify -format %k "$BB_ARTIFACTS/hall_start.png")" -gt 1000 ] &&
        [ "$(changed_share start_screen hall_start)" -gt 300 ] && break
done
sleep 1
bb_window_screenshot hall_start
# A tenth of a turn to the right with the mouse and back again.
bb_mouse_to 572 384
for _ in $(seq 40); do
    sleep 0.5
    bb_window_screenshot turned
    turned=$(changed_share hall_start turned)
    [ "$turned" -gt 40 ] && break
done
[ "$turned" -gt 40 ] || bb_fail "the mouse did not turn the view ($turned/1000 changed)"
bb_mouse_to 452 384
for _ in $(seq 40); do
    sleep 0.5
    bb_window_screenshot turned_back
    back=$(changed_share hall_start turned_back)
    [ $((2 * back)) -lt "$turned" ] && break
done
[ $((2 * back)) -lt "$turned" ] || bb_fail "turning back did not bring the first view back"
# The help picture is drawn in the upper left, 250 of the HUD's 1600 units square.
bb_key F1
for _ in $(seq 40); do
    sleep 0.5
    bb_window_screenshot help
    [ "$(changed_share turned_back help 300 300 5 5)" -gt 50 ] && break
done
[ "$(changed_share turned_back help 300 300 5 5)" -gt 50 ] || bb_fail "F1 did not show the help picture"
bb_key Escape
bb_expect_exit 0
bb_expect_console_order "WIDTH=1024" "HEIGHT=768" "REFRESH_RATE=60" "FULLSCREEN=false" \
    "GL Vendor : Mesa/X.org" \
    "Aktivator position: x: 0, y:0, z:22" "Aktivator position: x: 0, y:0, z:105" \
    "Aktivator position: x: 0, y:0, z:230" "LightNumber: 0"
for line in "GL Renderer : ." "GL Version (string) : ." "GLSL Version : ."; do
    grep -q "^$line" "$BB_DIR/console.txt" || bb_fail "the context report lacks $line"
done
grep -qE "^GL Version \(integer\) : [0-9]+\.[0-9]+$" "$BB_DIR/console.txt" || bb_fail "no integer version line"
lights=$(grep -E "^Light(Number|Count|Type): " "$BB_DIR/console.txt" | tr '\n' ' ')
expected="LightNumber: 0 LightCount: 1 LightType: 1 LightNumber: 1 LightCount: 2 LightType: 0"
[ "$lights" = "$expected LightNumber: 2 LightCount: 3 LightType: 1 " ] || bb_fail "the light lines are: $lights"
bb_finish
