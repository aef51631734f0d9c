#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and uses it as a user and a programmer would:
# nothing lands outside the prefix, every link in it is relative, the programs run from another
# working directory (the window program through its link in bin/), the engine links through
# its pkg-config file, the desktop entry and metainfo validate, and the whole tree still works
# after it is moved elsewhere.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(mktemp -d)
prefix=$top/prefix
work=$top/work
mkdir "$work"
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$top"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.txt" || { cat "$work/install.txt"; fail "install"; }

# Everything installed, and only that, is inside the prefix.
while IFS= read -r path; do
  case "$path" in "$prefix"/*) ;; *) fail "installed outside the prefix: $path" ;; esac
done <"$build/install_manifest.txt"
grep -q "^-- \(Installing\|Up-to-date\): $prefix/bin/vantorel-merge$" "$work/install.txt" ||
  fail "install log does not show vantorel-merge"
! grep -E '^-- (Installing|Up-to-date): ' "$work/install.txt" | grep -v ": $prefix/" ||
  fail "install log shows files outside the prefix"
while IFS= read -r link; do
  case "$(readlink "$link")" in /*) fail "absolute link ${link#"$prefix"/} -> $(readlink "$link")" ;; esac
  [ -e "$link" ] || fail "dangling link ${link#"$prefix"/}"
done < <(find "$prefix" -type l)

cd "$work"

# The command line, from anywhere.
grep -q "usage: vantorel-merge" <<<"$("$prefix/bin/vantorel-merge" --help)" || fail "installed vantorel-merge does not run"

# The window program: a relative link in bin/ to its folder in libexec/, with its language files
# and pictures reached through links beside it that point into share/.
[ -L "$prefix/bin/vantorel" ] || fail "no vantorel link in bin/"
[ "$(readlink "$prefix/bin/vantorel")" = ../libexec/vantorel/vantorel ] || fail "bin/vantorel -> $(readlink "$prefix/bin/vantorel")"
[ -x "$prefix/bin/vantorel" ] || fail "bin/vantorel is not an executable"
app=$prefix/libexec/vantorel
[ -x "$app/vantorel-probe" ] || fail "the probe helper is not beside the window program"
for name in lang_zuzoZorave/language_lookup.ini lang_zuzoZorave/lang_jp.ini lv_cover_merger.png \
    resources/bitmap_140.png resources/icon_128_32.png; do
  [ -f "$app/$name" ] || fail "$name is not beside the program"
  case "$(readlink -f "$app/$name")" in
    "$prefix/share/vantorel/"*) ;;
    *) fail "$name is not kept under share/vantorel: $(readlink -f "$app/$name")" ;;
  esac
done
[ -z "$(find "$prefix/libexec" "$prefix/lib" -type f \( -name '*.ini' -o -name '*.png' \))" ] ||
  fail "data files outside share/"

# The pkg-config file: found from its own place, without requirements of its own.
pc=$(find "$prefix" -name mergertool.pc)
[ -n "$pc" ] || fail "no mergertool.pc"
grep -qx 'prefix=${pcfiledir}/\(\.\./\)*\.\.' "$pc" || fail "mergertool.pc is not relocatable: $(grep '^prefix=' "$pc")"
! grep -q '^Requires' "$pc" || fail "mergertool.pc requires $(grep '^Requires' "$pc")"
export PKG_CONFIG_PATH=$(dirname "$pc")
export PKG_CONFIG_LIBDIR=$PKG_CONFIG_PATH

# The installed headers need only each other: each compiles alone.
for header in "$prefix"/include/mergertool/*.h; do
  echo "#include <$(basename "$header")>" | g++ -std=c++17 -x c++ -fsyntax-only $(pkg-config --cflags mergertool) - ||
    fail "$(basename "$header") does not compile on its own"
done

# Another program built against the installed engine.
cat >user.cpp <<'CPP'
#include <MergerTool.h>
#include <cstdio>
int main() {
  MergerTool tool;
  std::printf("%d %d\n", tool.SetLayout(1, 1, 0) ? 1 : 0, MergerTool::GetPdfInfo(L"/nonexistent.pdf"));
}
CPP
build_user() {
  local libdir
  libdir=$(pkg-config --variable=libdir mergertool)
  g++ -std=c++17 user.cpp $(pkg-config --cflags --libs mergertool) -Wl,-rpath,"$libdir" -o user ||
    fail "cannot build against the engine ($1)"
  [ "$(./user)" = "1 -1" ] || fail "a program using the engine does not run ($1)"
}
build_user "installed"

# Desktop files.
desktop-file-validate "$prefix/share/applications/org.orvanel.vantorel.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.orvanel.vantorel.metainfo.xml" >"$work/as.txt" 2>&1 ||
  { cat "$work/as.txt"; fail "metainfo"; }
grep -q "Validation was successful\.$" "$work/as.txt" || { cat "$work/as.txt"; fail "metainfo has remarks"; }
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/vantorel.png
  [ -f "$icon" ] || fail "icon $size"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r -a ihdr < <(od -An -tu1 -j16 -N8 "$icon")
  width=$(( (ihdr[2] << 8) + ihdr[3] )) height=$(( (ihdr[6] << 8) + ihdr[7] ))
  [ "$width $height" = "$size $size" ] || fail "icon $size is $width x $height"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/vantorel.svg" || fail "scalable icon"
for page in vantorel vantorel-merge; do
  [ -f "$prefix/share/man/man1/$page.1.gz" ] || fail "manual page $page"
done

# The window program from its link, from anywhere, when there is a display.
if [ -n "${DISPLAY:-}" ]; then
  HOME="$work" XDG_CONFIG_HOME="$work/config" VANTOREL_SITE=http://127.0.0.1:9 \
    "$prefix/bin/vantorel" >"$work/out.txt" 2>&1 &
  pid=$!
  sleep 3
  kill -0 "$pid" 2>/dev/null || { cat "$work/out.txt"; fail "installed program did not stay up"; }
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
fi

# The tree moved elsewhere still works: no path in it names the prefix it was installed to.
mv "$prefix" "$top/moved"
prefix=$top/moved
export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name mergertool.pc)")
export PKG_CONFIG_LIBDIR=$PKG_CONFIG_PATH
grep -q "usage: vantorel-merge" <<<"$("$prefix/bin/vantorel-merge" --help)" || fail "moved vantorel-merge does not run"
[ -f "$prefix/libexec/vantorel/lang_zuzoZorave/language_lookup.ini" ] || fail "moved program loses its files"
rm -f user
build_user "moved"
echo "install test passed"
