#!/usr/bin/env bash
# Keeps the manual pages and the README in step with the programs: vantorel-merge.1 describes
# every option that `vantorel-merge --help` lists, vantorel.1 names every environment variable
# that the sources read and the settings file, the README's table lists the VANTOREL_ ones, and
# both pages format without warnings.
#   docs_test.sh SOURCE_DIR VANTOREL_MERGE
set -euo pipefail
src=$(cd "$1" && pwd)
merge=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
man_merge=$src/packaging/vantorel-merge.1
man_app=$src/packaging/vantorel.1

# Options: the words starting with - on the help's option lines, as roff writes them (\-).
options=$("$merge" --help | grep -E '^  -' | grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' | tr -d ' ,' | sort -u)
[ -n "$options" ] || fail "no options in vantorel-merge --help"
for option in $options; do
  grep -qF "\\fB${option//-/\\-}\\fR" "$man_merge" || fail "vantorel-merge.1 does not describe $option"
done
# And no option in the page that the program does not know.
for option in $(grep -oE '\\fB(\\-)+[a-z][a-z0-9\\-]*\\fR' "$man_merge" | sed 's/\\fB//; s/\\fR//; s/\\-/-/g' | sort -u); do
  grep -qxF -- "$option" <<<"$options" || fail "vantorel-merge.1 describes $option, which --help does not list"
done

# The default paper, as --help and the page state it.
"$merge" --help | grep -q 'source (default: each sheet sized' && grep -q 'source (default: each sheet$' \
  "$man_merge" || fail "--help and vantorel-merge.1 do not both say each page keeps its size"

# Environment: the upper-case names in the narrow string literals of every source file that
# reads the environment (wide ones, L"...", are texts and keys). A few are not variables, such
# as the user-dirs.dirs key; the page names them too, in FILES.
names=$(cd "$src" && grep -rlE '\bgetenv\(' --include='*.cpp' --include='*.h' \
          --exclude-dir=tests --exclude-dir=bench --exclude-dir='build*' . |
        xargs grep -ohE '(^|[^A-Za-z0-9_])"[A-Z][A-Z0-9_]{2,}"' | sed 's/.*"\(.*\)"/\1/' | sort -u)
echo "$names" | grep -q '^VANTOREL_CONFIG_FILE$' || fail "the scan of the sources found no variables: $names"
text=$(sed 's/\\-/-/g; s/\\f[BIR]//g' "$man_app")
for name in $names; do
  grep -qw -- "$name" <<<"$text" || fail "vantorel.1 does not name $name"
done
environment=$(sed -n '/^\.SH ENVIRONMENT/,/^\.SH /p' "$man_app")
for name in $(grep '^VANTOREL_' <<<"$names"); do
  grep -qw -- "$name" <<<"$environment" || fail "vantorel.1 has $name outside ENVIRONMENT"
  grep -q "^| \`$name\` |" "$src/README.md" || fail "README's Environment table lacks $name"
done
grep -q 'registry\.conf' <<<"$(sed -n '/^\.SH FILES/,/^\.SH /p' "$man_app")" || fail "vantorel.1 does not name the settings file"
grep -q '^\.SH ENVIRONMENT' "$man_merge" || fail "vantorel-merge.1 says nothing of its environment"

# Formatting, as lintian checks it.
if command -v man >/dev/null; then
  for page in "$man_app" "$man_merge"; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
fi
echo "manual pages checked"
