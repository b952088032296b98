#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every built picture pack holds the pictures its screen asks for:
#   check-required-pictures.sh IPO_TOOL BUILD_DIR REQUIRED_DIR
# REQUIRED_DIR holds one list per pack, <pack>.txt (names one a line, '#' comments); the pack is
# BUILD_DIR/<pack>.ipo. Every list is checked, a missing pack or an empty list is a failure.
set -uo pipefail
ipo=$1 build=$2 required=$3
here=$(cd "$(dirname "$0")" && pwd)
failures=0 checked=0
shopt -s nullglob
for list in "$required"/*.txt; do
    pack=$(basename "$list" .txt)
    checked=$((checked + 1))
    "$here/check-pack-names.sh" "$ipo" "$build/$pack.ipo" BITMAP "$list" || failures=$((failures + 1))
done
if ((checked == 0)); then echo "no lists in $required" >&2; exit 1; fi
if ((failures)); then echo "$failures of $checked packs lack pictures" >&2; exit 1; fi
echo "all $checked packs hold their required pictures"
