#!/usr/bin/env bash
# Recorded play on the real binary. Journals that are damaged, or cannot be made, are refused before
# any window with one line and status 2 (without a display a window would fail with another line);
# a session played with real keys is recorded, then replays and runs as a timedemo to a match.
source "$(dirname "$0")/harness.sh"
cp -r "$VELLMAR_RUN_DIR" "$BB_DIR/run" && rm -f "$BB_DIR/run/config.ini"
in_run() { (cd "$BB_DIR/run" && exec ./vellmar "$@" </dev/null >"$BB_CONSOLE" 2>&1); }
# refused <option> <journal> <reason>
refused()
{
    DISPLAY= in_run "$1" "$2"
    local status=$?
    [ "$status" = 2 ] || bb_fail "$1 $2: status $status, expected 2"
    bb_expect_console "$2: $3"
    bb_next_game
}
J="$BB_DIR/j"
printf 'GIF89a\1\0\1\0' >"$J.foreign" && printf 'VELLJRNL\3\0' >"$J.format" && printf 'VELLJRNL\1' >"$J.cut"
head -c 4096 /dev/urandom >"$J.random" && : >"$J.empty"
refused --replay "$J.foreign" "not a journal"
refused --replay "$J.format" "journal format 3, this game reads format 2"
refused --replay "$J.cut" "the journal ends inside its header"
refused --replay "$J.random" "not a journal"
refused --timedemo "$J.empty" "the journal is empty"
refused --record "$J.foreign" "already exists, not overwritten"
[ "$(head -c 6 "$J.foreign")" = GIF89a ] || bb_fail "--record overwrote a file"
refused --record "$J.foreign/new" "cannot be written (Not a directory)"

bb_start_xvfb
in_run --record "$J" & BB_GAME_PID=$!
bb_wait_window && bb_play
xdotool keydown w && sleep 1 && xdotool keyup w
bb_key f p p d Escape
bb_expect_exit 0
recorded=$(sed -n "s|^$J: \([0-9]*\) frames recorded$|\1|p" "$BB_CONSOLE")
[ -n "$recorded" ] || bb_fail "--record did not say how many frames it kept"
bb_next_game
for option in --replay --timedemo; do
    in_run "$option" "$J" & BB_GAME_PID=$!
    bb_until 300 bb_ended || bb_fail "$option did not end"
    bb_expect_exit 0
    grep -qx "Replay finished: $recorded frames, matches the recording" "$BB_CONSOLE" || bb_fail "$option did not match"
    [ "$option" = --replay ] || grep -qE '^frames per second: [0-9.]+ in play$' "$BB_CONSOLE" || bb_fail "no frame rate"
    bb_next_game
done
bb_finish
