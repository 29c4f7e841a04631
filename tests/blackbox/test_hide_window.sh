#!/usr/bin/env bash
# H hides the window in play, yet the player keeps a way back: the window shows itself again
# after a few seconds, where keys reach it, and Escape ends the game with status 0. Nothing here
# maps or focuses the window from outside after H.
source "$(dirname "$0")/harness.sh"

visible() { xdotool search --onlyvisible --name '^Vellmar' >/dev/null 2>&1; }

bb_start "WIDTH=800\nHEIGHT=600\n"
bb_wait_window || bb_finish
bb_wait_console "z:230"
sleep 1
bb_key Return
sleep 1
bb_key h
hidden=no
for _ in $(seq 20); do
    visible || { hidden=yes; break; }
    sleep 0.1
done
[ "$hidden" = yes ] || bb_fail "H did not hide the window"

back=no
for _ in $(seq 100); do
    visible && { back=yes; break; }
    sleep 0.1
done
[ "$back" = yes ] || bb_fail "the hidden window never came back"
sleep 0.5
bb_key Escape
bb_expect_exit 0
bb_finish
