#!/usr/bin/env bash
# One entry point on a fresh Debian 12 machine (root, or a user with sudo):
#   ./build.sh play   install what is missing, build, start the game
#   ./build.sh test   install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")"

# Everything the game, its content generator and its tests need from Debian.
PACKAGES=(
    build-essential cmake pkg-config
    libglfw3-dev libglew-dev libglm-dev libassimp-dev libdevil-dev libbullet-dev
    libopenal-dev libsndfile1-dev
    libgtest-dev libbenchmark-dev libstb-dev fonts-dejavu-core clang sox
    xvfb xauth xdotool x11-utils imagemagick libgl1-mesa-dri
    desktop-file-utils appstream lintian dpkg-dev file groff-base
)

installMissing()
{
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

# build [target...]: everything, or only the targets named.
build()
{
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build build -j"$(nproc)" "${targets[@]}"
}

# The same game with AddressSanitizer and UndefinedBehaviorSanitizer, in its own folder.
buildSanitized()
{
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLMAR_SANITIZE=ON -DVELLMAR_BENCHMARKS=OFF
    cmake --build build-asan -j"$(nproc)"
}

case "${1:-}" in
play)
    installMissing
    # The game alone: its target brings its shaders and generated content, not the tests.
    build vellmar
    cd build/run
    exec ./vellmar
    ;;
test)
    installMissing
    build
    # In-process game tests share one virtual display; black-box tests start their own. -noreset:
    # without it the server resets whenever its last client leaves, and a game test connecting
    # during the reset fails with "GLFW failed to load!".
    (cd build && xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --output-on-failure -j2)
    # Unit and in-process game tests again with the sanitizers, and the real binary fed damaged
    # files and journals; any report fails its test.
    buildSanitized
    (cd build-asan && xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --output-on-failure -j2 -L 'unit|game' &&
        ctest --output-on-failure -j2 -R '^blackbox[.]test_(damage|journal)$')
    ;;
*)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
