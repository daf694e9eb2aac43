#!/usr/bin/env bash
# Checks a build as its users get it: installs it into a temporary prefix, then, with nothing but
# that prefix, checks the installed headers and exported symbols, builds the example hosts out of
# tree (CMake find_package, and pkg-config with a plain compiler line), runs each under a private
# Xvfb without LD_LIBRARY_PATH and asks for a tip with the mouse, checks F1 on a tip of the
# installed `vistip show`, and builds the Debian packages and checks their contents against
# docs/host-guide.md.  Usage: tests/install/check-install.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
prefix=$work/prefix
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
unset LD_LIBRARY_PATH
fail() { echo "check-install: $*" >&2; exit 1; }
step() { echo "== $*"; }

# Polls a command (up to $1 tenths of a second) until it succeeds.
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

step "install into $prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name libvtrt.so -print -quit)")
[ -d "$libdir" ] || fail "libvtrt.so was not installed"

step "each installed header compiles alone"
for h in "$prefix"/include/vtrt/*.h "$prefix"/include/vistip32.h "$prefix"/include/ntpaths.h; do
  name=${h#"$prefix"/include/}
  stds="c++17 c++20"
  [ "$name" = vtrt/file.h ] && stds="c++20"  # the record-file driver takes std::span
  for std in $stds; do
    echo "#include <$name>" | g++ -std=$std -Wall -Wextra -Werror -fsyntax-only -I"$prefix/include" \
      -x c++ - || fail "$name does not compile alone as $std"
  done
done
for name in vtrt/c.h vistip32.h ntpaths.h; do
  echo "#include <$name>" | gcc -std=c99 -Wall -Wextra -Werror -pedantic -fsyntax-only \
    -I"$prefix/include" -x c - || fail "$name does not compile alone as C99"
done

step "exported symbols"
exports() { nm -D --defined-only "$1" | awk '{print $3}' | LC_ALL=C sort; }
[ "$(exports "$libdir/libvistip32.so" | wc -l)" = 13 ] || fail "libvistip32.so exports not 13"
[ "$(exports "$libdir/libntpaths.so" | wc -l)" = 11 ] || fail "libntpaths.so exports not 11"
exports "$libdir/libvtrt.so" | c++filt >"$work/vtrt.exports"
diff -u <(grep -v '^#' "$source_dir/runtime/vtrt.exports") "$work/vtrt.exports" ||
  fail "libvtrt.so exports other names than runtime/vtrt.exports lists"
echo "libvtrt.so exports $(wc -l <"$work/vtrt.exports") names"

step "examples with CMake find_package"
cp -r "$source_dir/examples" "$work/src"
cmake -S "$work/src" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null

step "examples with pkg-config and a plain compiler line"
mkdir "$work/pc"
export PKG_CONFIG_PATH=$libdir/pkgconfig
rpath=-Wl,-rpath,$(pkg-config --variable=libdir vistip32)
(cd "$work/pc" &&
  g++ -std=c++17 "$work/src/host.cpp" -o example_host $(pkg-config --cflags --libs vistip32) "$rpath" &&
  gcc -std=c99 "$work/src/host.c" -o example_host_c $(pkg-config --cflags --libs vistip32) "$rpath" &&
  "$prefix/bin/vistip" import example-tips.tps "$work/src/tips.vtx" >/dev/null)

# A private X server on a free display.
for n in $(seq $((400 + RANDOM % 200)) 700); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset -dpi 96 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=:$n
wait_for 100 test -e "/tmp/.X11-unix/X$n" || fail "Xvfb did not start"
wait_for 50 xdpyinfo >/dev/null 2>&1 || fail "Xvfb does not answer"

# Pixels of the tip colour (RGB FE FF EC) on the whole screen.
tip_pixels() { import -window root -depth 8 rgb:- | od -An -v -tx1 -w3 | grep -c ' fe ff ec$' || true; }
tip_shown() { [ "$(tip_pixels)" -gt 2000 ]; }
visible_windows() { xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null | sort; }

# Runs a host, right-clicks its Name entry, picks "What's This" and finds the tip on screen.
ask_for_tip() {
  local dir=$1 program=$2 caption=$3
  (cd "$dir" && exec "./$program" example-tips.tps) &
  local host=$!
  pids+=("$host")
  local form
  form=$(timeout 10 xdotool search --sync --onlyvisible --name "^$caption\$" | head -1) ||
    fail "$program: its window did not appear"
  tip_shown && fail "$program: tip colour on the screen before asking"
  local before
  before=$(visible_windows)
  xdotool mousemove --window "$form" 150 24 click 3
  wait_for 50 test "$(visible_windows | wc -l)" -gt "$(echo "$before" | wc -l)" ||
    fail "$program: no popup menu after the right-click"
  local menu
  menu=$(comm -13 <(echo "$before") <(visible_windows) | head -1)
  xdotool mousemove --window "$menu" 20 8 click 1
  wait_for 100 tip_shown || fail "$program: no tip window in the tip colour"
  echo "$program ($dir): tip shown, $(tip_pixels) pixels of the tip colour"
  kill "$host"; wait "$host" 2>/dev/null || true
  wait_for 50 sh -c '! xdotool search --onlyvisible --name "^'"$caption"'\$" >/dev/null' || true
}

step "run the examples under Xvfb"
ask_for_tip "$work/cmake" example_host "Example Host"
ask_for_tip "$work/cmake" example_host_c "Example Host \\(C\\)"
ask_for_tip "$work/pc" example_host "Example Host"
ask_for_tip "$work/pc" example_host_c "Example Host \\(C\\)"

step "F1 on a tip of the installed vistip show opens the installed help"
before=$(visible_windows)
(cd "$work" && exec "$prefix/bin/vistip" show "$work/pc/example-tips.tps" Example Greet BUTTON) &
pids+=($!)
wait_for 100 tip_shown || fail "vistip show: no tip window"
tip=$(comm -13 <(echo "$before") <(visible_windows) | head -1)
xdotool windowfocus --sync "$tip" key F1
viewer=$(timeout 10 xdotool search --sync --onlyvisible --name '^Help - Vistip.hlp$' | head -1) ||
  fail "F1: no help viewer"
# The viewer shows its "Contents" topic, the first of Vistip.hlp: the first row of its contents
# list (from 15 dialog units down, of the viewer's 200) is highlighted in navy. A file it could
# not open has no rows to highlight.
contents_selected() {
  eval "$(xdotool getwindowgeometry --shell "$viewer")"
  local first
  first=$(import -window "$viewer" -depth 8 rgb:- | od -An -v -tx1 -w3 | grep -n -m1 ' 00 00 80$' |
    cut -d: -f1)
  [ -n "$first" ] || return 1
  local y=$(((first - 1) / WIDTH))
  [ $((y * 200)) -ge $((14 * HEIGHT)) ] && [ $((y * 200)) -lt $((20 * HEIGHT)) ]
}
wait_for 50 contents_selected || fail "F1: the help viewer does not show the Contents topic"
echo "help viewer shows Contents of the installed Vistip.hlp"

step "Debian packages"
(cd "$build" && cpack -G DEB -B "$work/debs" >/dev/null) || fail "cpack -G DEB failed"
# Every file the guide's package table names is in that package.
grep -E '^\| `[a-z0-9-]+` \|' "$source_dir/docs/host-guide.md" | while IFS='|' read -r _ package files _; do
  package=$(echo "$package" | tr -d ' `')
  deb=$(ls "$work/debs/${package}_"*.deb 2>/dev/null | head -1)
  [ -n "$deb" ] || fail "no package $package"
  listing=$(dpkg-deb --contents "$deb")
  for file in $(echo "$files" | grep -o '`[^`]*`' | tr -d '`'); do
    grep -q -- "$file" <<<"$listing" || fail "$package does not contain $file"
  done
  echo "$package: $(grep -c -v '/$' <<<"$listing") files, as the guide says"
done
echo "check-install: all good"
