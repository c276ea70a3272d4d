#!/usr/bin/env bash
# Each folder includes only from the folders below it:
#   core < calc < csv < widgets < windows < app, and core < calc < csv < cli: the CSV
#   library stands on calc and core alone; the windows and the command line may read and
#   write files through it, and neither sees the other. The ledger's window, ledger_app,
#   stands on widgets (and what is below it) beside windows and app.
# Prints every include that climbs, and fails when there is one; fails too when files
# include each other in a circle, inside a folder as well.
set -euo pipefail
cd "$(dirname "$0")/../.."
declare -A rank=([core]=0 [calc]=1 [csv]=2 [widgets]=3 [windows]=4 [app]=5 [cli]=3 [ledger_app]=4)
declare -A allowed=([core]="core" [calc]="core calc" [csv]="core calc csv"
                    [widgets]="core calc csv widgets" [windows]="core calc csv widgets windows"
                    [app]="core calc csv widgets windows app" [cli]="core calc csv cli"
                    [ledger_app]="core calc csv widgets ledger_app")
bad=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file _ include; do
        target=${include#*\"}
        target=${target%%/*}
        [ -n "${rank[$target]+x}" ] || continue
        case " ${allowed[$folder]} " in
            *" $target "*) ;;
            *) echo "$file includes $target/: ${include}"; bad=1 ;;
        esac
    done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "[a-z]*/' "$folder" || true)
done

# Every include between our headers as an edge (a header of the same folder is named
# without its folder); tsort names the files of any circle.
edges=$(for folder in "${!allowed[@]}"; do
    grep -rn --include='*.h' --include='*.cpp' '^#include "' "$folder" || true
done | while IFS=: read -r file _ include; do
    target=${include#*\"}
    target=${target%%\"*}
    [ -f "$target" ] || target=$(dirname "$file")/$target
    [ -f "$target" ] && echo "$file $target"
done)
if ! loops=$(echo "$edges" | tsort 2>&1 >/dev/null) || [ -n "$loops" ]; then
    echo "includes in a circle:"
    echo "$loops"
    bad=1
fi
exit $bad
