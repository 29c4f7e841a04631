#!/usr/bin/env bash
# Each of the eleven screen pictures missing or not starting with "DDS ". A missing one is named
# on the console with the hint and the game waits for Enter (closed input ends the wait at once);
# a wrong magic is passed over without a word. Either way the game starts and plays.
source "$(dirname "$0")/damage.sh"

expect_plays_reporting()
{
    expect_plays
    bb_expect_console "$1 could not be opened. Are you in the right directory ? Don't forget to read the FAQ !"
}

for picture in VellmarFontDark Infos mouse wasd start pause pause1 pause2 pause3 gameWon gameOver; do
    path="Scene/$picture.dds"
    damage_case "$path missing" "" "rm \"\$1/$path\"" expect_plays_reporting "$path"
    damage_case "$path wrong magic" "" "patch_bytes \"\$1/$path\" 0 'DDS!'" expect_plays_silently "$path"
done
damage_finish 22
