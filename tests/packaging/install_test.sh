#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and uses it as a user and a programmer would:
# the programs run from another working directory, the engine links through its pkg-config
# file, and the desktop entry and metainfo validate.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$work"

# The command line, from anywhere.
"$prefix/bin/vantorel-merge" --help | grep -q "usage: vantorel-merge" || fail "installed vantorel-merge does not run"

# Another program built against the installed engine.
cat >user.cpp <<'CPP'
#include <MergerTool.h>
#include <cstdio>
int main(int argc, char **argv) {
  MergerTool tool;
  std::printf("%d\n", tool.SetLayout(1, 1, 0) ? 1 : 0);
  return argc > 1 ? MergerTool::GetPdfInfo(L"/nonexistent.pdf") == -1 ? 0 : 1 : 0;
}
CPP
export PKG_CONFIG_PATH=$(find "$prefix" -name pkgconfig -type d | tr '\n' ':')
# The tree was installed with --prefix: let pkg-config take the prefix from where it found the file.
flags=$(pkg-config --define-prefix --cflags --libs mergertool) || fail "pkg-config does not know mergertool"
libdir=$(pkg-config --define-prefix --variable=libdir mergertool)
g++ -std=c++17 user.cpp $flags -Wl,-rpath,"$libdir" -o user || fail "cannot build against the engine"
[ "$(./user x)" = 1 ] || fail "a program using the engine does not run"

# Desktop files.
desktop-file-validate "$prefix/share/applications/vantorel.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.orvanel.Vantorel.metainfo.xml" >/dev/null 2>&1 ||
  appstreamcli validate --no-net "$prefix/share/metainfo/org.orvanel.Vantorel.metainfo.xml" || fail "metainfo"
for size in 16 24 32 48 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/vantorel.png" ] || fail "icon $size"
done

# The window program, when it is part of the build: it finds its files from anywhere.
if [ -x "$prefix/bin/vantorel" ]; then
  app=$(dirname "$(readlink -f "$prefix/bin/vantorel")")
  [ -f "$app/lang_zuzoZorave/language_lookup.ini" ] || fail "language files are not beside the program"
  [ -f "$app/lv_cover_merger.png" ] || fail "cover picture is not beside the program"
  if [ -n "${DISPLAY:-}" ]; then
    HOME="$work" XDG_CONFIG_HOME="$work/config" "$prefix/bin/vantorel" >"$work/out.txt" 2>&1 &
    pid=$!
    sleep 3
    kill -0 "$pid" 2>/dev/null || { cat "$work/out.txt"; fail "installed program did not stay up"; }
    kill "$pid"; wait "$pid" 2>/dev/null || true
  fi
fi
echo "install test passed"
