#!/usr/bin/env bash
# The options page with real clicks: P, a click on "Options", a click on the brightness's ">", P to
# leave; config.ini is rewritten with that one key changed and its other lines as they were.
source "$(dirname "$0")/harness.sh"
bb_start "# mine\r\nWIDTH=800\r\nHEIGHT=600\r\nBRIGHTNESS=100\r\nODD=1\r\n"
bb_wait_window || bb_finish
bb_until 60 bb_drawn start || bb_finish
bb_key Return
bb_until 60 bb_left start play || bb_fail "Enter did not leave the start screen"
bb_key p
bb_until 30 bb_left play pause_menu || bb_fail "P did not show the pause menu"
click() { xdotool mousemove --window "$BB_WINDOW" "$1" "$2" && sleep 1 && xdotool mousedown 1 && sleep 1 && xdotool mouseup 1 && sleep 1; }
click 700 350  # "Options", right of the middle resolution
bb_until 30 bb_left pause_menu options 5 || bb_fail "the click did not open the options page"
click 630 350  # the brightness's ">"
bb_key p
bb_until 30 bb_left options played 5 || bb_fail "P did not leave the options page"
bb_key Escape
bb_expect_exit 0
[ "$(cat "$BB_DIR/run/config.ini")" = "$(printf '# mine\r\nWIDTH=800\r\nHEIGHT=600\r\nBRIGHTNESS=110\r\nODD=1\r')" ] ||
    bb_fail "config.ini reads: $(od -c "$BB_DIR/run/config.ini" | head -n5)"
bb_finish
