# Sourced by ./run and ./test: installs the Debian packages named, when missing.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local cmd="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing: ${missing[*]}" >&2
        echo "Install them with:  sudo apt-get update && sudo $cmd" >&2
        exit 1
    fi
    echo "Installing ${missing[*]} ..." >&2
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $cmd >/dev/null
}

BUILD_PACKAGES=(cmake ninja-build g++ ccache qt6-base-dev qt6-serialport-dev desktop-file-utils)
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
# The window's compact face and its Chinese captions; the tests measure texts in them.
FONT_PACKAGES=(fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei)
# The Windows build (Debian's MinGW-w64 cross compiler), and Wine with a display, which runs its tests and its package.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils)
# The accessibility check: the window under Xvfb, walked over AT-SPI as a screen reader walks it.
ACCESSIBILITY_PACKAGES=(xvfb xauth xdotool dbus-daemon at-spi2-core python3-pyatspi)
