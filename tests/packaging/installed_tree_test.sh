#!/usr/bin/env bash
# installed_tree_test.sh BUILD SOURCE VERSION: installs the build into a temporary prefix and
# checks the tree as a desktop would use it: exactly the expected files, both programs answering
# --version, a headless boot to READY, vornce handing over to the installed window program, the
# desktop entry, MIME types and software-centre entry valid by their own tools, the file types
# recognised (a .crt certificate stays a certificate), the icons at their sizes, and a manual
# page that documents every option --help lists. Every check runs; each failure is reported.
set -uo pipefail
build=$1 source=$2 version=$3

work=$(mktemp -d)
desktopPid=""
cleanUp() {
  if [ -n "$desktopPid" ]; then kill -KILL "$desktopPid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanUp EXIT

passed=0 failed=0
check() {  # check NAME COMMAND...: runs the command, counts and reports its outcome
  local name=$1 output
  shift
  if output=$("$@" 2>&1); then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n%s\n' "$name" "$output"
  fi
}

prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL cmake --install"
  exit 1
fi
# The programs run as a new user's would: no ROM folder, settings or data of the caller's.
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
unset VORNCE_ROMS
mkdir -p "$HOME"

expectedTree() {
  local size
  printf '%s\n' bin/vornce libexec/vornce/vornce-desktop share/applications/vornce.desktop \
    share/icons/hicolor/scalable/apps/vornce.svg share/man/man1/vornce.1.gz \
    share/metainfo/org.vornce.VornCE.metainfo.xml share/mime/packages/vornce.xml
  for size in 16 24 32 48 64 128 256; do echo "share/icons/hicolor/${size}x${size}/apps/vornce.png"; done
}
installsExactlyTheExpectedFiles() {
  diff <(expectedTree | sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
}
check "installs exactly the programs and desktop files, nothing the tests use" installsExactlyTheExpectedFiles

answersVersion() {  # answersVersion PROGRAM NAME
  local answer
  answer=$("$1" --version) || return 1
  [ "$answer" = "$2 $version" ] || { echo "$1 --version said '$answer', not '$2 $version'"; return 1; }
}
check "vornce answers --version" answersVersion "$prefix/bin/vornce" vornce
check "vornce-desktop answers --version" answersVersion "$prefix/libexec/vornce/vornce-desktop" vornce-desktop
helpNamesVersion() {
  "$prefix/bin/vornce" --help | head -n 1 | grep -F "VornCE $version"
}
check "--help names the version" helpNamesVersion

bootsToReady() {
  local screen
  screen=$("$prefix/bin/vornce" --headless --builtin-roms --seconds 3 --dump-screen) || return 1
  grep -qx 'READY\.' <<<"$screen" || { echo "$screen"; return 1; }
}
check "installed vornce boots the built-in ROMs to READY" bootsToReady

# vornce replaces itself with the window program (same process), so the process's executable
# tells which one it found.
startsInstalledWindowProgram() {
  local wanted=$prefix/libexec/vornce/vornce-desktop status tries
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$prefix/bin/vornce" --builtin-roms >"$work/window.log" 2>&1 &
  desktopPid=$!
  for tries in $(seq 100); do
    [ "$(readlink "/proc/$desktopPid/exe")" = "$wanted" ] && break
    kill -0 "$desktopPid" 2>/dev/null || break
    sleep 0.1
  done
  if [ "$(readlink "/proc/$desktopPid/exe")" != "$wanted" ]; then
    echo "the process runs '$(readlink "/proc/$desktopPid/exe")', not $wanted"
    cat "$work/window.log"
    return 1
  fi
  sleep 1  # the window is up and the machine running before it is told to stop
  kill -TERM "$desktopPid"
  wait "$desktopPid"
  status=$?
  desktopPid=""
  [ "$status" -eq 0 ] || { echo "the window program ended with status $status"; cat "$work/window.log"; return 1; }
}
check "installed vornce starts the installed window program, which stops cleanly" startsInstalledWindowProgram

desktopFile=$prefix/share/applications/vornce.desktop
mimeFile=$prefix/share/mime/packages/vornce.xml
metainfo=$prefix/share/metainfo/org.vornce.VornCE.metainfo.xml
silent() { local output; output=$("$@" 2>&1); local status=$?; [ -z "$output" ] && [ $status -eq 0 ] || { echo "$output"; return 1; }; }
check "the desktop entry is valid" silent desktop-file-validate "$desktopFile"
check "the software-centre entry is valid" appstreamcli validate --no-net "$metainfo"
desktopKey() { sed -n "s/^$1=//p" "$desktopFile"; }
isGameWithIcon() {
  desktopKey Categories | tr ';' '\n' | grep -qx Game || { echo "not in the Games category"; return 1; }
  [ "$(desktopKey Icon)" = vornce ] && [ "$(desktopKey Exec)" = "vornce %f" ]
}
check "the desktop entry is a game that opens a file with vornce and its icon" isGameWithIcon

screenshotIsOurs() {
  local homepage image
  homepage=$(xmllint --xpath 'string(//url[@type="homepage"])' "$metainfo")
  image=$(xmllint --xpath 'string(//screenshot/image)' "$metainfo")
  [ "${image#"$homepage"/}" != "$image" ] || { echo "$image is not under $homepage"; return 1; }
  [ -f "$source/${image#"$homepage"/}" ] || { echo "the screenshot $image is not in the project"; return 1; }
}
check "the software-centre screenshot is the project's own picture" screenshotIsOurs

# The MIME database as an installed system has it: the desktop's shared types and ours, in one.
mimeTypesOfEntry() { desktopKey MimeType | tr ';' '\n' | sed '/^$/d' | sort; }
mimeTypesDefined() { xmllint --xpath '//*[local-name()="mime-type"]/@type' "$mimeFile" | sed 's/.*type="\(.*\)"/\1/' | sort; }
check "the desktop entry opens exactly the types the MIME file defines" diff <(mimeTypesOfEntry) <(mimeTypesDefined)
data=$work/data
mkdir -p "$data/mime/packages" "$data/applications"
cp /usr/share/mime/packages/freedesktop.org.xml "$mimeFile" "$data/mime/packages/"
cp "$desktopFile" "$data/applications/"
check "update-mime-database takes the MIME file" silent env XDG_DATA_DIRS="$data" update-mime-database "$data/mime"
check "update-desktop-database takes the desktop entry" silent update-desktop-database "$data/applications"

samples=$work/samples
mkdir -p "$samples"
printf 'C64 CARTRIDGE   \0\0\0\100\1\0\0\0' >"$samples/game.crt"
printf -- '-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIU\n-----END CERTIFICATE-----\n' >"$samples/server.crt"
printf 'C64File\0GAME\0' >"$samples/game.p00"
printf 'C64S tape image file\0' >"$samples/tape.t64"
printf '\1\10\13\10\12\0\231\0' >"$samples/hello.prg"
head -c 174848 /dev/zero >"$samples/disk.d64"
cp "$samples/game.crt" "$samples/cartridge"
cp "$samples/game.p00" "$samples/program"
cp "$samples/tape.t64" "$samples/tape"
contentTypeIs() {  # contentTypeIs FILE TYPE
  local found
  found=$(XDG_DATA_DIRS=$data XDG_DATA_HOME=$work/nothing gio info -a standard::content-type "$samples/$1" |
    sed -n 's/.*standard::content-type: //p')
  [ "$found" = "$2" ] || { echo "$1 is $found, not $2"; return 1; }
}
while read -r sample type; do
  check "$sample is recognised as $type" contentTypeIs "$sample" "$type"
done <<'EOF'
game.crt application/x-c64-cartridge
server.crt application/x-x509-ca-cert
game.p00 application/x-c64-pc64-program
tape.t64 application/x-c64-tape-image
hello.prg application/x-c64-program
disk.d64 application/x-c64-disk-image
cartridge application/x-c64-cartridge
program application/x-c64-pc64-program
tape application/x-c64-tape-image
EOF
# GLib offers only desktop entries whose program is on the PATH, as the installed one would be.
offeredFor() {
  PATH=$prefix/bin:$PATH XDG_DATA_DIRS=$data XDG_DATA_HOME=$work/nothing gio mime "$1" | sed -n '/Registered applications:/,$p' |
    grep -qx '[[:space:]]*vornce.desktop'
}
for type in $(mimeTypesDefined); do
  check "VornCE is offered for $type" offeredFor "$type"
done

pngIsSquareOf() {  # pngIsSquareOf FILE SIZE: the width and height in the PNG header
  local dimensions
  dimensions=$(od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dimensions" = "$2x$2" ] || { echo "$1 is $dimensions"; return 1; }
}
for icon in "$prefix"/share/icons/hicolor/*x*/apps/vornce.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  check "the ${size} icon has its size" pngIsSquareOf "$icon" "${size%x*}"
done
check "the scalable icon is well-formed SVG" xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/vornce.svg"

manPage=$prefix/share/man/man1/vornce.1.gz
renderedManual=$(zcat "$manPage" | groff -man -Tascii -P-cbou -rLL=100n 2>&1)
check "the manual page has no roff warnings" silent sh -c "zcat '$manPage' | groff -man -ww -z"
check "the manual page carries the version" sh -c "zcat '$manPage' | grep -q '^\.TH VORNCE 1 .*\"VornCE $version\"'"
hasSection() { grep -qx "$1" <<<"$renderedManual" || { echo "no section $1"; return 1; }; }
for section in NAME SYNOPSIS DESCRIPTION OPTIONS KEYS ENVIRONMENT FILES 'EXIT STATUS'; do
  check "the manual page has the section $section" hasSection "$section"
done
# Each option --help lists needs a paragraph of its own: a line of the rendered page that starts
# with the option at the paragraph tags' indentation.
documentsOption() { grep -Eq -- "^ {7}$1( |,|$)" <<<"$renderedManual" || { echo "no paragraph for $1"; return 1; }; }
helpOptions=$("$prefix/bin/vornce" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)
[ -n "$helpOptions" ] || { echo "FAIL --help lists no options"; failed=$((failed + 1)); }
for option in $helpOptions; do
  check "the manual page documents $option" documentsOption "$option"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
