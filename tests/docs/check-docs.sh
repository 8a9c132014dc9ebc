#!/usr/bin/env bash
# Keeps the documents true where a machine can check them:
#   - every key of the "Keyboard shortcuts" window appears in README.md and in the guide of each
#     shipped language (the keys as that language's window names them);
#   - every option each program's --help names appears in its manual page;
#   - README.md quotes no figure of the build's output that the build does not print itself.
# Prints each miss; fails when there is any.
# Usage: check-docs.sh SOURCE_DIR KVT_PROGRAM KVTCTL KVTSIM
set -uo pipefail
src=$1
misses=0
miss() {
    echo "  $1"
    misses=$((misses + 1))
}

# The keys: the first field of each "key|what it does" pair of the shortcuts text (id 264).
keys() {
    sed -n 's/^{264} //p' "$1" | tr -d '\r' | tr ';' '\n' | cut -d'|' -f1 | sed 's/, /\n/g; s/ \.\.\. /\n/g'
}
while IFS= read -r key; do
    [ -n "$key" ] || continue
    grep -qF -- "$key" "$src/README.md" || miss "README.md does not name the key \"$key\""
    grep -qF -- "$key" "$src/lang/en/guide.md" || miss "lang/en/guide.md does not name the key \"$key\""
done < <(keys "$src/lang/en/enext.lng")
while IFS= read -r key; do
    [ -n "$key" ] || continue
    grep -qF -- "$key" "$src/lang/ru/guide.md" || miss "lang/ru/guide.md does not name the key \"$key\""
done < <(keys "$src/lang/ru/ruext.lng")

# The options of each program, in its manual page (where a '-' is written '\-').
for pair in "$2:KVT_Program" "$3:kvtctl" "$4:kvtsim"; do
    program=${pair%%:*}
    page="$src/packaging/man/${pair##*:}.1"
    help=$(QT_QPA_PLATFORM=offscreen "$program" --help 2>&1)
    while IFS= read -r option; do
        escaped=${option//-/\\-}
        grep -qF -- "$escaped" "$page" || grep -qF -- "\\-\\-${option#--}" "$page" || grep -qF -- "$option" "$page" ||
            miss "$(basename "$page") does not name the option $option"
    done < <(grep -o -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u)
done

# Figures of the build's output that the build does not print.
grep -nE 'prints [0-9,]+ lines|[0-9,]+ files compiled' "$src/README.md" | while IFS= read -r line; do
    echo "  README.md quotes the build's output: $line"
done | grep -q . && miss "README.md quotes figures of the build's output"

if [ "$misses" -gt 0 ]; then
    echo "The documents and the program differ ($misses)."
    exit 1
fi
echo "The documents name every key and option, and quote no build output."
