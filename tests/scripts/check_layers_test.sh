#!/usr/bin/env bash
# The layering check on small trees of its own: it passes downward includes and links, and
# fails on an include or a link that points upwards or out of a folder into the one around it.
#   tests/scripts/check_layers_test.sh PATH/TO/check_layers.sh
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

expect() { # expect pass|fail description
  local want=$1 what=$2 output status
  output=$("$tree/scripts/check_layers.sh" 2>&1)
  status=$?
  if { [ "$want" = pass ] && [ $status -ne 0 ]; } || { [ "$want" = fail ] && [ $status -eq 0 ]; }; then
    echo "FAILED: $what: expected $want, got status $status"
    echo "$output"
    failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}

mkdir -p "$tree/scripts" "$tree/low" "$tree/high/sub"
cp "$check" "$tree/scripts/check_layers.sh"
echo 'set(VANTOREL_LAYERS low high)' > "$tree/CMakeLists.txt"
echo 'add_library(low_lib STATIC Low.cpp)' > "$tree/low/CMakeLists.txt"
echo 'add_library(high_lib STATIC High.cpp)
target_link_libraries(high_lib PUBLIC low_lib)' > "$tree/high/CMakeLists.txt"
echo '#pragma once' > "$tree/low/Low.h"
echo '#include "Low.h"' > "$tree/low/Low.cpp"
echo '#pragma once' > "$tree/high/High.h"
printf '#include "High.h"\n#include "Low.h"\n#include "low/Low.h"\n#include <vector>\n' > "$tree/high/High.cpp"
echo '#include "Low.h"' > "$tree/high/sub/Part.cpp"
echo '#include "../High.h"' > "$tree/high/sub/High_sub.cpp"
expect pass "includes and links that point downwards"

echo '#include "High.h" // upwards' >> "$tree/low/Low.cpp"
expect fail "an include from the folder above"
echo '#include "Low.h"' > "$tree/low/Low.cpp"

echo 'target_link_libraries(low_lib PUBLIC high_lib)' >> "$tree/low/CMakeLists.txt"
expect fail "a link to a library of the folder above"
echo 'add_library(low_lib STATIC Low.cpp)' > "$tree/low/CMakeLists.txt"

echo '#include "Nowhere.h"' >> "$tree/low/Low.cpp"
expect fail "an include that is in no folder"
echo '#include "Low.h"' > "$tree/low/Low.cpp"

for include in '"../High.h"' '"High.h"'; do
  echo "#include $include" >> "$tree/high/sub/Part.cpp"
  expect fail "an include of $include from the folder around a folder"
  echo '#include "Low.h"' > "$tree/high/sub/Part.cpp"
done

echo '#pragma once' > "$tree/high/Low.h"
expect fail "one header name in two folders"
rm "$tree/high/Low.h"

expect pass "the tree mended"
[ $failures -eq 0 ]
