#!/usr/bin/env bash
# Each of the eleven screen pictures cut short inside its header or halfway through its picture
# data: nothing is said and nothing is read past the file; the game starts and plays.
source "$(dirname "$0")/damage.sh"

for picture in VellmarFontDark Infos mouse wasd start pause pause1 pause2 pause3 gameWon gameOver; do
    path="Scene/$picture.dds"
    damage_case "$path cut in its header" "" "truncate -s 100 \"\$1/$path\"" expect_plays_silently "$path"
    damage_case "$path cut halfway" "" "truncate -s \$((\$(stat -c %s \"\$1/$path\") / 2)) \"\$1/$path\"" \
        expect_plays_silently "$path"
done
damage_finish 22
