# Shared by the scripts: package checks and the build. Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# appstream: the build writes the metainfo in the form the release's AppStream reads.
build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libpulse-dev libsndfile1-dev
    libxcb1-dev fonts-liberation appstream)
sanitizer_packages=(clang libclang-rt-dev)
test_packages=(xvfb openbox xfwm4 mutter xwayland qt6-wayland qt6-gtk-platformtheme
    gnome-themes-extra fonts-urw-base35 xdotool x11-utils x11-apps x11-xserver-utils imagemagick
    dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0 pulseaudio pulseaudio-utils pipewire pipewire-pulse
    wireplumber desktop-file-utils orca "${sanitizer_packages[@]}")
bench_packages=(libbenchmark-dev libpipewire-0.3-dev qt6-multimedia-dev)
package_packages=(dpkg-dev file lintian)
root_packages=(mmdebstrap git)

# Fails, naming each, when a script or a test runs a program that none of the lists above
# installs; see programs_check.py.
check_programs_installed() {
    /usr/bin/python3 "$root/scripts/programs_check.py" "${build_packages[@]}" \
        "${test_packages[@]}" "${bench_packages[@]}" "${package_packages[@]}" "${root_packages[@]}"
}

# Installs whichever of the named Debian packages are missing; quiet when none is.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing ${missing[*]}"
    local before
    before=$(installed_packages)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
    echo "Installed, with what they need: $(comm -13 <(echo "$before") <(installed_packages) | xargs)"
}

installed_packages() {
    dpkg-query -W -f='${db:Status-Status} ${Package}\n' | sed -n 's/^installed //p' | sort
}

# Configures the build folder once, then builds incrementally: the folder, then any
# targets (all when none is named).
build() {
    local folder=$1
    shift
    [ -f "$folder/build.ninja" ] || cmake -S "$root" -B "$folder" -G Ninja
    if [ $# -gt 0 ]; then
        cmake --build "$folder" --target "$@"
    else
        cmake --build "$folder"
    fi
}
