#!/usr/bin/env bash
# Started from a folder without the game's files (a Shader/ folder but no Scene/, like the
# repository root), the game plays from its own folder with that folder's config.ini and says so.
# Started from a copy of the files without the binary, it keeps to that folder and its config.ini.
source "$(dirname "$0")/harness.sh"
bb_start_xvfb
cp -r "$VELLMAR_RUN_DIR" "$BB_DIR/run"
printf 'WIDTH=640\nHEIGHT=480\n' >"$BB_DIR/run/config.ini"
RUN=$(realpath "$BB_DIR/run")
mkdir "$BB_DIR/elsewhere"
cp -r "$VELLMAR_SOURCE_DIR/Shader" "$BB_DIR/elsewhere/Shader"
cp -r "$RUN" "$BB_DIR/copy"
rm "$BB_DIR/copy/vellmar"
printf 'WIDTH=1024\nHEIGHT=768\n' | tee "$BB_DIR/elsewhere/config.ini" >"$BB_DIR/copy/config.ini"
# plays_from <working directory> <window size>: the whole world is built and Escape ends with 0.
plays_from()
{
    (cd "$1" && exec "$RUN/vellmar" </dev/null >"$BB_CONSOLE" 2>&1) &
    BB_GAME_PID=$!
    bb_plays
    [ "$BB_SIZE" = "$2" ] || bb_fail "window was $BB_SIZE, expected $2"
    bb_refuse_console "could not be opened|not loaded|[Ff]ailed"
}
plays_from "$BB_DIR/elsewhere" 640x480
bb_expect_console "The game's files are not in the working directory; using those in $RUN"
bb_next_game
plays_from "$BB_DIR/copy" 1024x768
bb_refuse_console "working directory"
bb_finish
