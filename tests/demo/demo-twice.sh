#!/usr/bin/env bash
# The demo imports the two new orders of its document and skips the one already
# recorded; a second run imports nothing.
#   demo-twice.sh PROGRAM PROJECT_FOLDER
set -euo pipefail
program="$1"
project="$2"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT

first="$("$project/scripts/demo-import" "$program" "$folder" --fresh)" || true
echo "$first"
grep -qx "Pedido: 4500000102 (2)" <<<"$first"
grep -qx "Pedido: 4500000103 (3)" <<<"$first"
if grep -q "^Pedido: 4500000101" <<<"$first"; then
  echo "the order already recorded was imported again" >&2
  exit 1
fi
# The marketplace's service cannot be reached from the demo: every order is recorded,
# and the status tells of the failed download.
grep -q "== Exit status: 5" <<<"$first"

second="$("$project/scripts/demo-import" "$program" "$folder")" || true
echo "$second"
if grep -q "^Pedido: " <<<"$second"; then
  echo "the second run imported an order again" >&2
  exit 1
fi
grep -q "== Exit status: 5" <<<"$second"
