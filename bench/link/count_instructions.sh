#!/usr/bin/env bash
# Instructions per live update against the same work by hand, counted by callgrind: steadier than
# times on a shared machine. Usage: count_instructions.sh [BIN_DIR] (default build/default/bin).
set -euo pipefail
bin=${1:-build/default/bin}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Instructions collected inside `toggle`, over the number of calls of `callee` made from it (the
# toggled function's own calls are not seen, as collection starts inside it).
per_call() { # program filter toggle callee
    local file=$out/cg
    valgrind --tool=callgrind --callgrind-out-file="$file" --collect-atstart=no \
        --toggle-collect="$3" "$1" --benchmark_filter="$2" --benchmark_min_time=0.02 \
        >/dev/null 2>&1
    local total calls
    total=$(callgrind_annotate "$file" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }')
    calls=$(callgrind_annotate --tree=caller "$file" | awk -v callee="$4" '
        /^$/ { n = 0; next }
        / < / { if (match($0, /\(([0-9,]+)x\)/)) {
                    v = substr($0, RSTART + 1, RLENGTH - 3); gsub(",", "", v); n += v }
                next }
        / \* / { if (index($0, callee) && n > 0) { print n; exit } n = 0 }')
    echo $((total / calls))
}

report() { # label live hand
    awk -v l="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%-34s live %6d  by hand %6d  ratio %.2f\n", l, a, b, a / b }'
}

report "without a macro" \
    "$(per_call "$bin/link_bench" 'LiveUpdate/links:100/spread:0' '*::moveCorner(*' 'moveCorner(')" \
    "$(per_call "$bin/link_bench" 'LiveUpdate/links:100/spread:0' '*::byHand(*' '::byHand(')"
macros=('"%PROPERTY m2"' '"$(rtos,%NPROPERTY,2,1) m"' '"$(if,$(>,%NPROPERTY,25),1,3)"')
for c in 0 1 2; do
    report "${macros[$c]}" \
        "$(per_call "$bin/macro_bench" "MacroUpdate/case:$c" '*::live(*Case*' '::change(')" \
        "$(per_call "$bin/macro_bench" "MacroUpdate/case:$c" '*::byHand(*' '::byHand(')"
done
