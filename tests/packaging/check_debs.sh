#!/usr/bin/env bash
# Checks the Debian packages that scripts/package.sh built: what each of the three holds, their
# control fields, the hardening of every executable and library, and that the unpacked files
# work together (the programs run, pkg-config finds the engine from the -dev package's files
# alone, and a program builds against it).
#   check_debs.sh DIR_WITH_DEBS
set -euo pipefail
dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

arch=$(dpkg --print-architecture)
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
one() {
  local found=("$dir"/$1_*_"$arch".deb)
  [ ${#found[@]} -eq 1 ] && [ -f "${found[0]}" ] || fail "expected one $1 package in $dir"
  echo "${found[0]}"
}
app=$(one vantorel)
lib=$(one libmergertool1)
dev=$(one libmergertool-dev)
# Besides them only debhelper's packages of debug symbols.
count=$(find "$dir" -maxdepth 1 -name '*.deb' ! -name '*-dbgsym_*.deb' | wc -l)
[ "$count" -eq 3 ] || fail "expected three packages, found $count"

# "path" or "path -> target" per line, without the leading "./".
contents() {
  dpkg-deb -c "$1" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' |
    sed 's#^\./##; s#/$##' | grep -v '^$'
}
contents "$app" >"$work/app.txt"
contents "$lib" >"$work/lib.txt"
contents "$dev" >"$work/dev.txt"
has() { grep -qxF -- "$2" "$work/$1.txt" || fail "$1 package lacks $2"; }
lacks() { ! grep -qE -- "$2" "$work/$1.txt" || fail "$1 package must not hold $(grep -E -- "$2" "$work/$1.txt" | head -1)"; }

# The program: both executables, the data under /usr/share, desktop files, manual pages.
has app "usr/bin/vantorel-merge"
has app "usr/bin/vantorel -> ../libexec/vantorel/vantorel"
has app "usr/libexec/vantorel/vantorel"
has app "usr/libexec/vantorel/vantorel-probe"
has app "usr/libexec/vantorel/lang_zuzoZorave -> ../../share/vantorel/lang_zuzoZorave"
has app "usr/libexec/vantorel/resources -> ../../share/vantorel/resources"
has app "usr/libexec/vantorel/lv_cover_merger.png -> ../../share/vantorel/lv_cover_merger.png"
for lang in language_lookup.ini lang_en.ini lang_jp.ini lang_de.ini lang_fr.ini; do
  has app "usr/share/vantorel/lang_zuzoZorave/$lang"
done
has app "usr/share/vantorel/lv_cover_merger.png"
has app "usr/share/vantorel/resources/bitmap_140.png"
has app "usr/share/applications/org.orvanel.vantorel.desktop"
has app "usr/share/metainfo/org.orvanel.vantorel.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  has app "usr/share/icons/hicolor/${size}x${size}/apps/vantorel.png"
done
has app "usr/share/icons/hicolor/scalable/apps/vantorel.svg"
has app "usr/share/man/man1/vantorel.1.gz"
has app "usr/share/man/man1/vantorel-merge.1.gz"
has app "usr/share/doc/vantorel/copyright"
lacks app '^usr/lib/'
grep -v ' -> ' "$work/app.txt" | grep -E '\.(ini|png|svg)$' | grep -v '^usr/share/' | grep . &&
  fail "data outside /usr/share"

# The runtime library: the library and its soname link, nothing for building.
has lib "usr/lib/$triplet/libmergertool.so.1 -> libmergertool.so.1.9.0"
has lib "usr/lib/$triplet/libmergertool.so.1.9.0"
has lib "usr/share/doc/libmergertool1/copyright"
lacks lib '^usr/(bin|include|libexec|share/vantorel)|\.so$|pkgconfig'

# The development files.
has dev "usr/include/mergertool/MergerTool.h"
has dev "usr/include/mergertool/MergeRequest.h"
has dev "usr/include/mergertool/MergerExport.h"
has dev "usr/lib/$triplet/libmergertool.so -> libmergertool.so.1"
has dev "usr/lib/$triplet/pkgconfig/mergertool.pc"
lacks dev '^[^ ]*\.so\.[0-9]|^usr/(bin|libexec)'

# Control fields and maintainer scripts.
field() { dpkg-deb -f "$1" "$2"; }
[ "$(field "$lib" Multi-Arch)" = same ] || fail "libmergertool1 is not Multi-Arch: same"
grep -q 'libmergertool1 (>= 1.9.0)' <<<"$(field "$app" Depends)" || fail "vantorel does not depend on libmergertool1"
# GTK's theme draws its pictures from SVG files: without the loader it warns at start.
grep -q 'librsvg2-common' <<<"$(field "$app" Depends)" || fail "vantorel does not depend on librsvg2-common"
grep -q 'fonts-noto-cjk | fonts-ipafont-gothic' <<<"$(field "$app" Recommends)" || fail "no Japanese font recommended"
grep -q 'fonts-liberation2' <<<"$(field "$app" Recommends)" || fail "Liberation Sans not recommended"
grep -q 'libmergertool1 (= 1.9.0)' <<<"$(field "$dev" Depends)" || fail "-dev does not depend on its library"
mkdir "$work/control"
dpkg-deb -e "$lib" "$work/control"
grep -qx 'libmergertool 1 libmergertool1 (>= 1.9.0)' "$work/control/shlibs" || fail "shlibs file"
[ -f "$work/control/symbols" ] || fail "no symbols file"
grep -qx 'activate-noawait ldconfig' "$work/control/triggers" || fail "no ldconfig trigger"
for package in "$app" "$lib" "$dev"; do
  rm -rf "$work/scripts" && mkdir "$work/scripts"
  dpkg-deb -e "$package" "$work/scripts"
  ! grep -l ldconfig "$work/scripts"/{preinst,postinst,prerm,postrm} 2>/dev/null ||
    fail "$(basename "$package") calls ldconfig from a maintainer script"
done

# Unpack all three and use them where they are.
root=$work/root
for package in "$app" "$lib" "$dev"; do dpkg-deb -x "$package" "$root"; done
libdir=$root/usr/lib/$triplet

# Hardening: full RELRO with immediate binding, position independent executables, and the
# fortified C library functions where the code calls any.
for elf in "$root/usr/bin/vantorel-merge" "$root/usr/libexec/vantorel/vantorel" \
    "$root/usr/libexec/vantorel/vantorel-probe" "$libdir/libmergertool.so.1.9.0"; do
  name=${elf#"$root"}
  grep -q GNU_RELRO <<<"$(readelf -lW "$elf")" || fail "$name: no RELRO"
  grep -qE 'BIND_NOW|FLAGS.*NOW' <<<"$(readelf -dW "$elf")" || fail "$name: not bound at load time (bindnow)"
  grep -q 'Type:.*DYN' <<<"$(readelf -hW "$elf")" || fail "$name: not position independent"
  ! grep -qE 'RUNPATH|RPATH' <<<"$(readelf -dW "$elf")" || fail "$name: has a run path"
done
# (Searched as a whole: grep -q on a pipe could leave nm writing into a closed pipe.)
imports=$(nm -D --undefined-only "$root/usr/bin/vantorel-merge" "$libdir/libmergertool.so.1.9.0")
grep -qE '__(s?w?printf|w?mem(cpy|move|set)|f?printf|read)_chk' <<<"$imports" ||
  fail "no fortified functions: built without _FORTIFY_SOURCE"

grep -q "usage: vantorel-merge" <<<"$(LD_LIBRARY_PATH=$libdir "$root/usr/bin/vantorel-merge" --help)" ||
  fail "vantorel-merge does not run"

# pkg-config with only the -dev package's .pc: the prefix follows the file.
export PKG_CONFIG_PATH=$libdir/pkgconfig PKG_CONFIG_LIBDIR=$libdir/pkgconfig
[ "$(pkg-config --modversion mergertool)" = 1.9.0 ] || fail "pkg-config does not know mergertool"
cflags=$(pkg-config --cflags mergertool)
libs=$(pkg-config --libs mergertool)
case "$cflags" in *"$root"*) ;; *) fail "pkg-config gives $cflags, not the unpacked folder" ;; esac
cat >"$work/user.cpp" <<'CPP'
#include <MergerTool.h>
#include <cstdio>
int main() {
  MergerTool tool;
  std::printf("%d %d\n", tool.SetLayout(1, 1, 0) ? 1 : 0, MergerTool::GetPdfInfo(L"/nonexistent.pdf"));
}
CPP
g++ -std=c++17 "$work/user.cpp" $cflags $libs -o "$work/user" || fail "cannot build against the -dev package"
[ "$(LD_LIBRARY_PATH=$libdir "$work/user")" = "1 -1" ] || fail "a program built against the engine does not run"

echo "packages checked: $(basename "$app") $(basename "$lib") $(basename "$dev")"
