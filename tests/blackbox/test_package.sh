#!/usr/bin/env bash
# The Debian package: named vellmar_<version>_<arch>.deb, section games, its Depends worked out from
# the libraries the binary links, no lintian error; unpacked into a bare root, the game plays from it.
source "$(dirname "$0")/harness.sh"
cpack -G DEB --config "$VELLMAR_BUILD_DIR/CPackConfig.cmake" -B "$BB_DIR/package" >"$BB_DIR/cpack.txt" 2>&1 ||
    { cat "$BB_DIR/cpack.txt"; bb_log "cpack failed"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$VELLMAR_BUILD_DIR/CMakeCache.txt")
DEB="$BB_DIR/package/vellmar_${version}_$(dpkg --print-architecture).deb"
[ -f "$DEB" ] || { bb_log "no $DEB among: $(ls "$BB_DIR/package")"; exit 1; }
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || bb_fail "section $(dpkg-deb -f "$DEB" Section), not games"
depends=$(dpkg-deb -f "$DEB" Depends)
for library in libglfw3 libglew libassimp libdevil libbullet libopenal libsndfile; do
    grep -qE "(^|, )$library" <<<"$depends" || bb_fail "Depends lacks $library: $depends"
done
lintian --fail-on error "$DEB" >"$BB_ARTIFACTS/lintian.txt" 2>&1 || bb_fail "lintian: $(grep '^E:' "$BB_ARTIFACTS/lintian.txt")"
ROOT="$BB_DIR/root"
dpkg-deb -x "$DEB" "$ROOT"
mkdir "$BB_DIR/home"
bb_start_xvfb
(cd / && HOME="$BB_DIR/home" exec env -u XDG_CONFIG_HOME "$ROOT/usr/games/vellmar" </dev/null >"$BB_CONSOLE" 2>&1) &
BB_GAME_PID=$!
bb_plays
bb_expect_console "The game's files are not in the working directory; using those in $ROOT/usr/share/vellmar"
bb_expect_console "config.ini not found"
bb_finish
