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
# The document came from the demo's stand-in of the order service, over HTTPS, and
# every order is recorded.
grep -q -- "-Resumo: pedidos importados 2, já importados 1, com falha 0; documento: recebido agora, " <<<"$first"
grep -q "== Exit status: 0" <<<"$first"

second="$("$project/scripts/demo-import" "$program" "$folder")" || true
echo "$second"
if grep -q "^Pedido: " <<<"$second"; then
  echo "the second run imported an order again" >&2
  exit 1
fi
grep -q -- "-Resumo: pedidos importados 0, já importados 3, com falha 0; documento: recebido agora, " <<<"$second"
grep -q "== Exit status: 0" <<<"$second"
