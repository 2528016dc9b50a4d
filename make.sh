#!/usr/bin/env bash
# Builds the workbench and runs it or its tests; installs missing Debian packages first.
#   ./make.sh run        build everything and start the workbench on an example circuit
#   ./make.sh test       build everything and run every test
#   ./make.sh sanitize   build with AddressSanitizer + UBSan and run every test
#   ./make.sh build      build only
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

install_packages() {
    local missing=()
    while read -r pkg; do
        [ -z "$pkg" ] && continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done < scripts/debian-packages.txt
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

jobs="$(nproc)"

configure_and_build() { # dir, extra cmake args...
    local dir="$1"; shift
    local werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEST_WERROR="$werror" "$@"
    cmake --build "$dir" -j "$jobs"
}

run_tests() { # dir
    local dir="$1"
    local tmp
    tmp="$(mktemp -d)"
    mkdir -p "$tmp/runtime" "$tmp/config" "$tmp/data"
    chmod 700 "$tmp/runtime"
    XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
        QT_QPA_PLATFORM=offscreen \
        ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 900
    rm -rf "$tmp"
}

cmd="${1:-run}"
install_packages
case "$cmd" in
build)
    configure_and_build build
    ;;
test)
    configure_and_build build
    run_tests build
    ;;
sanitize)
    configure_and_build build-san -DKEST_SANITIZE=ON -DKEST_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests build-san
    ;;
run)
    configure_and_build build
    example="$here/build/bin/examples/divider.kst"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/kest ]; then
        exec build/bin/kest "$example"
    fi
    echo "No display: showing the simulated readings of $example instead."
    exec build/bin/kest --simulate "$example"
    ;;
*)
    echo "usage: $0 run|test|sanitize|build" >&2
    exit 2
    ;;
esac
