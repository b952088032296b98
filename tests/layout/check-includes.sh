#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The include directions of src/: main -> shell -> activities -> activities/common -> media,
# widgets, print. The shell knows no activity (the entry point hands it the activities'
# launcher); the general folders know neither; the common part of the activities knows no
# single activity; no activity knows the shell. Prints every include that points the wrong way.
set -euo pipefail
src=${1:?usage: check-includes.sh SRC_DIR}
cd "$src"
status=0

# forbid FOLDER PATTERN WHY: no file below FOLDER may include a header matching PATTERN.
forbid() {
    local folder=$1 pattern=$2 why=$3 hits
    [ -d "$folder" ] || { echo "check-includes: no folder $folder"; status=1; return; }
    hits=$(grep -rnE "^#include \"($pattern)" "$folder" --include='*.cpp' --include='*.h' \
           --include='*.inc' || true)
    if [ -n "$hits" ]; then
        echo "$why:"
        echo "$hits" | sed 's/^/  /'
        status=1
    fi
}

forbid shell 'activities/' "the shell includes an activity's header"
for general in media widgets print; do
    forbid "$general" 'activities/|shell/' "$general/ includes a header from above it"
done
forbid activities 'shell/' "an activity includes the shell's header"
forbid activities/common 'activities/(letters|sentences|travel|drawing)/|activities/launcher' \
    "the activities' common part includes a single activity"
for room in letters sentences travel drawing; do
    others=$(printf '%s\n' letters sentences travel drawing | grep -vx "$room" | paste -sd'|')
    forbid "activities/$room" "activities/($others)/" "activities/$room includes another activity's room"
done

[ "$status" -ne 0 ] || echo "check-includes: every include points down"
exit "$status"
