# Shared by tools/run, tools/test and tools/package: the package lists and the build.
# shellcheck shell=bash

TAVROLA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The packages of these sections of tools/packages.txt ([run], [test], [package]), each once.
listed_packages() {
    awk -v wanted=" $* " '
        /^[[:space:]]*(#|$)/ { next }
        /^\[.*\]$/ { section = substr($0, 2, length($0) - 2); next }
        index(wanted, " " section " ") { print $1 }
    ' "$TAVROLA_ROOT/tools/packages.txt" | sort -u
}

# The packages that debian/control's Build-Depends names (the first of each choice), less
# debhelper-compat, which debhelper provides.
build_depends() {
    sed -n '/^Build-Depends:/,/^[^[:space:]B]/p' "$TAVROLA_ROOT/debian/control" |
        sed -e 's/^Build-Depends://' -e '/^[^[:space:]]/d' | tr ',' '\n' |
        sed -e 's/|.*//' -e 's/[[(<].*//' -e 's/[[:space:]]//g' |
        grep -v -e '^$' -e '^debhelper-compat$' | sort -u
}

# Of these packages, the ones not installed.
missing_packages() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$package"
        fi
    done
}

# Stops with the one command that installs what is missing of these packages.
require_packages() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Tavrola needs these Debian packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

# Installs what is missing of these sections of tools/packages.txt. As root it installs them;
# otherwise it prints the one command that would, and stops.
install_packages() {
    local wanted
    mapfile -t wanted < <(listed_packages "$@")
    install_missing "${wanted[@]}"
}

# The same for these packages.
install_missing() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        require_packages "${missing[@]}"
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
