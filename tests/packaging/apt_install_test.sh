#!/usr/bin/env bash
# Installs the three packages with apt into a fresh minimal Debian 12 made by debootstrap in a
# scratch folder, uses them there, and removes them again:
#   - apt resolves every dependency, and the recommended fonts, from Debian's archive;
#   - vantorel-merge runs, pkg-config finds the engine, every shared library of the window
#     program is there;
#   - the window program, started through /usr/bin/vantorel on a virtual display, reads its
#     language files and pictures (from /usr/share/vantorel, through the links beside it);
#   - purging leaves none of the packages' files behind.
# Needs root (chroot) and the network to the archive; takes a few minutes.
#   apt_install_test.sh DIR_WITH_DEBS [MIRROR]
set -euo pipefail
dir=$(cd "$1" && pwd)
mirror=${2:-http://deb.debian.org/debian}
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root"
command -v debootstrap >/dev/null || fail "needs debootstrap"

target=$(mktemp -d /tmp/vantorel-apt-test.XXXXXX)
chmod 755 "$target" # apt's download user must be able to enter it
cleanup() {
  if mountpoint -q "$target/proc"; then umount "$target/proc"; fi
  # Only ever the scratch root itself, never a file system mounted inside it.
  rm -rf --one-file-system "$target"
}
trap cleanup EXIT
in_root() { chroot "$target" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  DEBIAN_FRONTEND=noninteractive "$@"; }

echo "Making a minimal Debian 12 in $target"
debootstrap --variant=minbase bookworm "$target" "$mirror" >"$target.log" 2>&1 ||
  { tail -20 "$target.log"; rm -f "$target.log"; fail "debootstrap"; }
rm -f "$target.log"
mount -t proc proc "$target/proc"
cp /etc/resolv.conf "$target/etc/resolv.conf"
cat >"$target/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
in_root apt-get update -qq
mkdir "$target/debs"
debs=()
for package in vantorel libmergertool1 libmergertool-dev; do
  file=$(ls "$dir/${package}"_*.deb)
  cp "$file" "$target/debs/"
  debs+=("/debs/$(basename "$file")")
done

# With the recommendations, as a user would install it: apt must find them all.
in_root apt-get install -s "${debs[@]}" >"$target/plan.txt" ||
  { cat "$target/plan.txt"; fail "apt cannot install the packages"; }
for font in fonts-liberation2 'fonts-noto-cjk\|fonts-ipafont-gothic'; do
  grep -q "^Inst \($font\) " "$target/plan.txt" || fail "apt would not bring the recommended $font"
done
# The real installation without them (the fonts are large), plus the tools used below.
in_root apt-get install -y -qq --no-install-recommends "${debs[@]}" pkgconf xvfb xauth strace \
  >"$target/install.txt" 2>&1 ||
  { tail -30 "$target/install.txt"; fail "apt-get install"; }
grep -i "ldconfig" "$target/install.txt" | grep -v "Processing triggers for libc-bin" | grep . &&
  fail "ldconfig run otherwise than through the trigger"

grep -q "usage: vantorel-merge" <<<"$(in_root vantorel-merge --help)" || fail "vantorel-merge does not run"
flags=$(in_root pkg-config --cflags --libs mergertool) || fail "pkg-config mergertool"
echo "pkg-config mergertool: $flags"
for flag in $flags; do
  case "$flag" in
    -I*) [ -f "$target/${flag#-I}/MergerTool.h" ] || fail "no MergerTool.h in ${flag#-I}" ;;
    -L*) [ -e "$target/${flag#-L}/libmergertool.so" ] || fail "no libmergertool.so in ${flag#-L}" ;;
  esac
done
for program in vantorel vantorel-probe; do
  ! in_root ldd /usr/libexec/vantorel/$program | grep "not found" || fail "$program lacks libraries"
done

# The window program for a few seconds, its file opening recorded.
in_root sh -c 'mkdir -p /tmp/home && cd /tmp && HOME=/tmp/home VANTOREL_SITE=http://127.0.0.1:9 \
  xvfb-run -a strace -f -e trace=openat -o /tmp/opens.txt timeout 5 vantorel' >"$target/run.txt" 2>&1 || true
grep -q 'lang_zuzoZorave/lang_en.ini", O_RDONLY.* = [0-9]' "$target/tmp/opens.txt" ||
  { cat "$target/run.txt"; fail "the program did not read its language file"; }
grep -q 'resources/bitmap_140.png", O_RDONLY.* = [0-9]' "$target/tmp/opens.txt" ||
  { cat "$target/run.txt"; fail "the program did not read its pictures"; }
grep -q 'killed by SIGSEGV\|killed by SIGABRT' "$target/tmp/opens.txt" && fail "the program crashed"
[ -d "$target/usr/share/vantorel/lang_zuzoZorave" ] || fail "language files are not under /usr/share"

in_root apt-get purge -y -qq vantorel libmergertool1 libmergertool-dev >"$target/purge.txt" 2>&1 ||
  { cat "$target/purge.txt"; fail "apt-get purge"; }
for path in usr/bin/vantorel usr/bin/vantorel-merge usr/libexec/vantorel usr/share/vantorel \
    usr/include/mergertool usr/share/doc/vantorel usr/share/metainfo/org.orvanel.vantorel.metainfo.xml; do
  [ ! -e "$target/$path" ] && [ ! -L "$target/$path" ] || fail "$path left after purge"
done
[ -z "$(find "$target/usr/lib" -name 'libmergertool*' -o -name mergertool.pc)" ] || fail "engine files left after purge"
echo "apt install test passed"
