# Shared by tools/run and tools/test: the package check and the build.
# shellcheck shell=bash

TAVROLA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Installs every package of tools/packages.txt that is missing. As root it installs them;
# otherwise it prints the one command that would, and stops.
install_packages() {
    local wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "$TAVROLA_ROOT/tools/packages.txt")
    for package in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "Tavrola needs these Debian packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y "${missing[@]}"
}

# configure_and_build BUILD_DIR [CMAKE_ARGS...]
configure_and_build() {
    local build_dir=$1
    shift
    cmake -S "$TAVROLA_ROOT" -B "$build_dir" -G Ninja "$@"
    cmake --build "$build_dir" --parallel "$(nproc)"
}
