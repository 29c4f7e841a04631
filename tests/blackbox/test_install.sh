#!/usr/bin/env bash
# The installed game: its files where a desktop looks for them, the command line; started from / it
# finds its files in the install's data folder and its settings in the user's configuration folder,
# and again after the whole prefix was moved. The binary alone names where it looked.
source "$(dirname "$0")/harness.sh"
PREFIX="$BB_DIR/prefix"
cmake --install "$VELLMAR_BUILD_DIR" --prefix "$PREFIX" >/dev/null || { bb_log "cmake --install failed"; exit 1; }
GAME="$PREFIX/games/vellmar"
for file in share/applications/vellmar.desktop share/metainfo/org.vellmar.vellmar.metainfo.xml \
    share/man/man6/vellmar.6.gz share/vellmar/Shader/test.vert share/vellmar/Scene/start.dds; do
    [ -s "$PREFIX/$file" ] || bb_fail "not installed: $file"
done
for side in 16 24 32 48 64 128 256; do
    file "$PREFIX/share/icons/hicolor/${side}x$side/apps/vellmar.png" | grep -q "PNG image data, $side x $side," ||
        bb_fail "no ${side}x$side icon"
done
appstreamcli validate-tree --no-net "$PREFIX" >/dev/null || bb_fail "appstreamcli validate-tree: $(appstreamcli validate-tree --no-net "$PREFIX")"
# answers <arguments> <status> <first line of standard output> <first line of the error stream>
answers()
{
    "$GAME" $1 >"$BB_DIR/out" 2>"$BB_DIR/err" </dev/null
    local got="$?|$(head -n1 "$BB_DIR/out")|$(head -n1 "$BB_DIR/err")"
    [ "$got" = "$2|$3|$4" ] || bb_fail "vellmar $1 gave $got, expected $2|$3|$4"
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$VELLMAR_BUILD_DIR/CMakeCache.txt")
answers --version 0 "Vellmar $version" ""
usage="Usage: vellmar [--version | --help | --record FILE | --replay FILE | --timedemo FILE]"
answers --help 0 "$usage" ""
answers "--version --fullscreen" 2 "" "vellmar: unknown argument: --fullscreen"
grep -qxF "$usage" "$BB_DIR/err" || bb_fail "no usage on the error stream"
# The only config.ini is in the user's configuration folder; its width shows it was read.
mkdir -p "$BB_DIR/home" "$BB_DIR/xdg/vellmar"
printf 'WIDTH=640\nHEIGHT=480\n' >"$BB_DIR/xdg/vellmar/config.ini"
# plays_installed <prefix>: started from /, the whole world is built and Escape ends with 0.
plays_installed()
{
    (cd / && HOME="$BB_DIR/home" XDG_CONFIG_HOME="$BB_DIR/xdg" exec "$1/games/vellmar" </dev/null >"$BB_CONSOLE" 2>&1) &
    BB_GAME_PID=$!
    bb_plays
    [ "$BB_SIZE" = 640x480 ] || bb_fail "window was $BB_SIZE, not the configured 640x480"
    bb_expect_console "The game's files are not in the working directory; using those in $1/share/vellmar"
    bb_expect_console "Reading the settings in $BB_DIR/xdg/vellmar/config.ini"
    bb_refuse_console "could not be opened|not loaded|[Ff]ailed"
    bb_next_game
}
bb_start_xvfb
plays_installed "$PREFIX"
mv "$PREFIX" "$BB_DIR/moved"
plays_installed "$BB_DIR/moved"
mkdir "$BB_DIR/lonely"
cp "$BB_DIR/moved/games/vellmar" "$BB_DIR/lonely/"
(cd / && exec "$BB_DIR/lonely/vellmar" </dev/null >"$BB_CONSOLE" 2>&1) &
BB_GAME_PID=$!
bb_fatal "The game's files (Shader/ and Scene/) are in none of: /, $BB_DIR/lonely, $BB_DIR/share/vellmar" \
    "Press Enter to continue . . ."
bb_finish
