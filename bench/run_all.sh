#!/usr/bin/env bash
# Runs every benchmark against the program, one after another (each starts its own Wine session,
# and two sessions in one build folder would share its state file), then lists every figure
# against its goal. `bench/run_all.sh [BUILD_DIR]`; the default is ./build.
set -u -o pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(realpath "${1:-build}")"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT

for script in size startup memory idle_cpu freeze console_schedule; do
    echo "=== bench/$script.py"
    if ! python3 "$here/$script.py" "$build" 2>&1 | tee -a "$log"; then
        echo "summary: $script.py | failed | - | NOT MET" >>"$log"
    fi
    echo
done

echo "=== summary"
{
    echo "figure|measured|goal|verdict"
    sed -n 's/^summary: //p' "$log" | sed 's/ | /|/g'
} | awk -F'|' '{ for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } }
    END { for (r = 1; r <= NR; r++) { for (i = 1; i <= 4; i++) printf("%-" width[i] "s  ", cell[r, i]); print "" } }'
