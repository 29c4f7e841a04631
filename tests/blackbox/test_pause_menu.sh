#!/usr/bin/env bash
# The pause menu with the real mouse: P pauses, and a click on the 1280 x 720 entry resizes the
# window, whose next frames fill it.
source "$(dirname "$0")/harness.sh"

# Distinct colours of a screenshot: a textured scene has thousands, a black screen one.
colours() { identify -format %k "$BB_ARTIFACTS/$1.png"; }

bb_start "WIDTH=800\nHEIGHT=600\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || bb_finish
# Enter counts only once the frame loop has seen it up: wait for the start screen first.
bb_wait_console "LightNumber: 2"
sleep 2
bb_window_screenshot start
bb_key Return
sleep 2
bb_window_screenshot play
[ "$(colours play)" != "$(colours start)" ] || bb_fail "Enter did not leave the start screen"

bb_key p
sleep 1
bb_window_screenshot pause_menu
[ "$(colours pause_menu)" != "$(colours play)" ] || bb_fail "P did not show the pause menu"

# The button must first be seen up over an entry before a press counts, so the cursor rests on the
# 1280 x 720 entry (the middle one: 300 < y < 400 in 800 x 600) for a few frames before the click.
bb_mouse_to 400 350
sleep 1.5
bb_window_screenshot pause_menu_hover_1280x720
xdotool mousedown 1
sleep 0.8
xdotool mouseup 1
for _ in $(seq 30); do
    [ "$(bb_window_size)" = "1280x720" ] && break
    sleep 0.2
done
[ "$(bb_window_size)" = "1280x720" ] || bb_fail "the click left the window at $(bb_window_size)"

# Back where the game keeps the cursor in play (512, 384), so that the view does not turn away from
# the statue ahead when play goes on.
bb_mouse_to 512 384
bb_key p
sleep 1.5
bb_window_screenshot resized_1280x720
# The scene reaches the new right edge: not the clear colour there.
bb_pixel_near resized_1280x720 1270 500 38 38 38 2 && bb_fail "the lit pass did not fill the larger window"

bb_key Escape
bb_expect_exit 0
bb_finish
