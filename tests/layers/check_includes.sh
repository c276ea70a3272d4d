#!/usr/bin/env bash
# Each folder includes only from the folders below it:
#   core < calc < widgets < windows < app, cli stands on calc and core alone, and
#   ledger_app on widgets (and what is below it) beside windows and app.
# Prints every include that climbs, and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../.."
declare -A rank=([core]=0 [calc]=1 [widgets]=2 [windows]=3 [app]=4)
declare -A allowed=([core]="core" [calc]="core calc" [widgets]="core calc widgets"
                    [windows]="core calc widgets windows" [app]="core calc widgets windows app"
                    [cli]="core calc cli" [ledger_app]="core calc widgets ledger_app")
bad=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file _ include; do
        target=${include#*\"}
        target=${target%%/*}
        [ -n "${rank[$target]+x}" ] || [ "$target" = cli ] || [ "$target" = ledger_app ] || continue
        case " ${allowed[$folder]} " in
            *" $target "*) ;;
            *) echo "$file includes $target/: ${include}"; bad=1 ;;
        esac
    done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "[a-z]*/' "$folder" || true)
done
exit $bad
