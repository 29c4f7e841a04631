#!/usr/bin/env bash
# Started from a folder without the game's files (like the repository root: a Shader/ folder but no
# Scene/), the game plays from the folder it lives in, with that folder's config.ini, and says so.
# Started from a folder that holds them, it keeps to that folder and its config.ini, wherever the
# binary lives.
source "$(dirname "$0")/harness.sh"

cp -r "$VELLMAR_RUN_DIR" "$BB_DIR/run"
printf 'WIDTH=640\nHEIGHT=480\n' >"$BB_DIR/run/config.ini"
RUN=$(realpath "$BB_DIR/run")
bb_start_xvfb

# start_from <working directory>: the run folder's binary, with closed input.
start_from()
{
    (cd "$1" && exec "$RUN/vellmar" </dev/null >"$BB_DIR/console.txt" 2>&1) &
    BB_GAME_PID=$!
}

# plays_at <window size>: the window opens at that size, the whole world is built and Escape ends
# the game with status 0.
plays_at()
{
    bb_wait_window || return
    [ "$(bb_window_size)" = "$1" ] || bb_fail "window was $(bb_window_size), expected $1"
    bb_wait_console "z:230" || return
    bb_key Escape
    bb_expect_exit 0
    grep -iE "could not be opened|not loaded|failed" "$BB_DIR/console.txt" && bb_fail "a game file was missed"
}

mkdir -p "$BB_DIR/elsewhere"
cp -r "$VELLMAR_SOURCE_DIR/Shader" "$BB_DIR/elsewhere/Shader"
printf 'WIDTH=1024\nHEIGHT=768\n' >"$BB_DIR/elsewhere/config.ini"
start_from "$BB_DIR/elsewhere"
plays_at 640x480
bb_expect_console "The game's files are not in the working directory; using those in $RUN"
cp "$BB_DIR/console.txt" "$BB_ARTIFACTS/console-elsewhere.txt"

cp -r "$RUN" "$BB_DIR/copy"
rm "$BB_DIR/copy/vellmar"
printf 'WIDTH=1024\nHEIGHT=768\n' >"$BB_DIR/copy/config.ini"
start_from "$BB_DIR/copy"
plays_at 1024x768
grep -q "working directory" "$BB_DIR/console.txt" && bb_fail "the game left a working directory that holds its files"
bb_finish
