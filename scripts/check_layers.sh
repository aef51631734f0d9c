#!/usr/bin/env bash
# Checks that the folders' dependencies point one way: a folder may include headers from, and
# link libraries of, only itself and the folders listed before it in VANTOREL_LAYERS in the top
# CMakeLists.txt, and a folder inside one of them (engine/pdf) nothing of the folder around it.
# Prints each include or link that points the wrong way and fails when there is one.
#   scripts/check_layers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

layers=($(sed -n 's/^set(VANTOREL_LAYERS \(.*\))$/\1/p' CMakeLists.txt))
if [ ${#layers[@]} -eq 0 ]; then
  echo "check_layers: no set(VANTOREL_LAYERS ...) line in CMakeLists.txt" >&2
  exit 2
fi

declare -A rank    # folder -> position from the bottom
declare -A home    # header file name -> folder that has it
declare -A owner   # CMake target -> folder that defines it
for i in "${!layers[@]}"; do
  dir=${layers[$i]}
  rank[$dir]=$i
  while IFS= read -r header; do
    name=${header##*/}
    if [ -n "${home[$name]:-}" ] && [ "${home[$name]}" != "$dir" ]; then
      echo "check_layers: $name is in both ${home[$name]}/ and $dir/: a bare include cannot tell them apart" >&2
      exit 1
    fi
    home[$name]=$dir
  done < <(find "$dir" -name '*.h')
  while IFS= read -r target; do
    owner[$target]=$dir
  done < <(find "$dir" \( -name CMakeLists.txt -o -name '*.cmake' \) -exec \
             sed -n 's/^ *add_\(library\|executable\)(\([A-Za-z0-9_-]*\).*/\2/p' {} +)
done

failures=0
report() {
  echo "$1" >&2
  failures=$((failures + 1))
}

for dir in "${layers[@]}"; do
  # Includes: "folder/name.h" names its folder; a bare name is the file beside the includer or
  # the one header of that name in the layers.
  while IFS=: read -r file line include; do
    case $include in
    */*) used=${include%%/*}; [ -n "${rank[$used]:-}" ] || used=$dir ;;
    *)
      if [ -e "$(dirname "$file")/$include" ]; then
        used=$dir
      else
        used=${home[$include]:-}
      fi
      ;;
    esac
    # A folder inside a layer uses nothing of the folders around it, only what is in it or in
    # a lower layer; a source named after its folder (posix/X_posix.cpp) implements a header of
    # the folder above for one platform and includes it.
    sub=$(dirname "$file")
    if [ -z "$used" ]; then
      report "$file:$line: \"$include\" is in no folder of the layers"
    elif [ "${rank[$used]}" -gt "${rank[$dir]}" ]; then
      report "$file:$line: includes \"$include\" from $used/, which is above $dir/"
    elif [ "$used" = "$dir" ] && [ "$sub" != "$dir" ] && [[ $file != *_"${sub##*/}".cpp ]] &&
      { [[ $include == *..* ]] || [ ! -e "$sub/$include" ]; }; then
      report "$file:$line: includes \"$include\" from outside $sub/, the folder it is in"
    fi
  done < <(grep -rn --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir" |
             sed 's/^\([^:]*\):\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2:\3/')

  # Links: a folder's CMake files name no target of a folder above it.
  while IFS=: read -r file line text; do
    for word in $(echo "${text%%#*}" | tr -c 'A-Za-z0-9_-' ' '); do
      used=${owner[$word]:-}
      if [ -n "$used" ] && [ "${rank[$used]}" -gt "${rank[$dir]}" ]; then
        report "$file:$line: uses target $word of $used/, which is above $dir/"
      fi
    done
  done < <(find "$dir" \( -name CMakeLists.txt -o -name '*.cmake' \) -exec grep -Hn . {} +)
done

if [ "$failures" -gt 0 ]; then
  echo "check_layers: $failures dependencies point upwards (order: ${layers[*]})" >&2
  exit 1
fi
echo "check_layers: ${#layers[@]} layers, every include and link points downwards"
