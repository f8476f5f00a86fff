#!/usr/bin/env bash
# debian_package_check.sh [MIRROR]: builds VornCE's Debian package and installs it in a fresh
# Debian 12, twice: on a minimal system with no recommended packages (the computed dependencies
# alone must carry the programs), then on one with the desktop's MIME, menu and icon tools (their
# triggers must pick up our files). Each time the programs run, and the package is purged and
# must leave nothing behind. Prints the package's control data and file list on the way.
#
# Run as root on Debian 12: it needs debootstrap, chroot and a reachable package mirror (default
# http://deb.debian.org/debian). The base system is made once, under build-package/, and copied
# afresh for every run. Takes a few minutes: too slow for every test run.
set -euo pipefail
cd "$(dirname "$0")/.."
mirror=${1:-http://deb.debian.org/debian}
build=$PWD/build-package
base=$build/debian12-base
root=$build/debian12-root

for tool in debootstrap dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || {
    echo "installing what $tool needs"
    apt-get install -y -qq --no-install-recommends debootstrap dpkg-dev >/dev/null
  }
done

step() { printf '\n== %s\n' "$*"; }

step "building the package"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j 2 >/dev/null
rm -f "$build"/vornce_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vornce_*.deb)
echo "$deb ($(stat -c %s "$deb") bytes)"
step "dpkg-deb -I $(basename "$deb")"
dpkg-deb -I "$deb"
step "dpkg-deb -c $(basename "$deb")"
dpkg-deb -c "$deb"

if [ ! -x "$base/usr/bin/apt-get" ]; then
  step "making a minimal Debian 12 in $base"
  rm -rf "$base"
  debootstrap --variant=minbase bookworm "$base" "$mirror" >"$build/debootstrap.log" 2>&1 ||
    { tail -20 "$build/debootstrap.log"; exit 1; }
fi
rm -rf "$root"
cp -a "$base" "$root"
mount -t proc proc "$root/proc"
trap 'umount "$root/proc" 2>/dev/null || true' EXIT
# No services start inside the folder, as in any chroot.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp "$deb" "$root/tmp/"
debInRoot=/tmp/$(basename "$deb")
inRoot() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
apt() { inRoot env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o Dpkg::Use-Pty=0 "$@"; }

# The package's files, as installed paths; the folders that other packages share are left out.
packagedFiles=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')

checkPrograms() {
  local version screen exe status pid
  version=$(inRoot vornce --version)
  echo "vornce --version: $version"
  [ "$version" = "vornce $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')" ] || { echo "not the package's version"; return 1; }
  screen=$(inRoot vornce --headless --builtin-roms --seconds 3 --dump-screen 2>/dev/null)
  grep -qx 'READY\.' <<<"$screen" || { echo "$screen"; return 1; }
  echo "vornce --headless --builtin-roms booted to READY"
  chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    vornce --builtin-roms >"$build/window.log" 2>&1 &
  pid=$!
  sleep 3
  exe=$(readlink "/proc/$pid/exe" || true)
  kill -TERM "$pid" 2>/dev/null || true
  status=0
  wait "$pid" || status=$?
  echo "the window ran as $exe and ended with status $status on SIGTERM"
  [ "$exe" = "$root/usr/libexec/vornce/vornce-desktop" ] && [ "$status" -eq 0 ] || { cat "$build/window.log"; return 1; }
}

checkPurgedCleanly() {
  local file left=0
  apt purge vornce >/dev/null
  apt autoremove --purge >/dev/null
  if inRoot dpkg-query -W vornce >/dev/null 2>&1; then echo "vornce is still known to dpkg"; return 1; fi
  for file in $packagedFiles; do
    if [ -e "$root$file" ]; then echo "left behind: $file"; left=1; fi
  done
  [ -z "$(inRoot dpkg --audit)" ] || { inRoot dpkg --audit; return 1; }
  inRoot apt-get check -q >/dev/null
  [ "$left" -eq 0 ] || return 1
  echo "purged: none of its $(wc -w <<<"$packagedFiles") files left, dpkg --audit and apt-get check clean"
}

step "installing on the minimal system, without recommended packages"
apt update >/dev/null
before=$(inRoot dpkg-query -W -f '${Package}\n' | sort)
apt install --no-install-recommends "$debInRoot" >"$build/install.log" 2>&1 || { cat "$build/install.log"; exit 1; }
grep -E '^(Setting up|The following NEW)|newly installed' "$build/install.log" | tail -3
echo "$(comm -13 <(echo "$before") <(inRoot dpkg-query -W -f '${Package}\n' | sort) | wc -l) packages added"
checkPrograms
checkPurgedCleanly
if [ "$before" != "$(inRoot dpkg-query -W -f '${Package}\n' | sort)" ]; then
  echo "the packages installed differ from those before"
  exit 1
fi
echo "the system holds exactly the packages it held before"

step "installing where the desktop's MIME, menu and icon tools are"
apt install --no-install-recommends shared-mime-info desktop-file-utils hicolor-icon-theme >/dev/null
apt install "$debInRoot" >"$build/install.log" 2>&1 || { cat "$build/install.log"; exit 1; }
grep -E 'Processing triggers for (shared-mime-info|desktop-file-utils|hicolor)' "$build/install.log"
if ! grep -q 'vornce.desktop' "$root/usr/share/applications/mimeinfo.cache" ||
   [ ! -f "$root/usr/share/mime/application/x-c64-cartridge.xml" ]; then
  echo "the triggers did not take up the desktop entry or the MIME types"
  exit 1
fi
echo "the MIME database knows application/x-c64-cartridge; the menu cache maps our types to vornce.desktop"
checkPrograms
checkPurgedCleanly
if grep -q vornce "$root/usr/share/applications/mimeinfo.cache" || [ -e "$root/usr/share/mime/application/x-c64-cartridge.xml" ]; then
  echo "the MIME database or the menu cache still names VornCE"
  exit 1
fi
echo "the MIME database and the menu cache no longer name VornCE"
step "the package installs, runs and purges cleanly on Debian $(cat "$root/etc/debian_version")"
