#!/usr/bin/env bash
# On databases that another user owns, the program's account cannot import until it
# holds the rights that packaging/grants lists; with them it records the demo's new
# orders.
#   listed-rights.sh PROGRAM PROJECT_FOLDER
set -euo pipefail
program="$1"
project="$2"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT

# The embedded engine signs in without a password and still enforces the rights.
create_database() {
  local file="$1" schema="$2" rows="$3"
  { echo "CREATE DATABASE '$file' USER 'DONO';"
    cat "$schema"
    echo "COMMIT;"
    iconv -f UTF-8 -t WINDOWS-1252 "$rows"
  } > "$folder/create.sql"
  isql-fb -q -bail -i "$folder/create.sql"
}
create_database "$folder/kelmora.fdb" "$project/tests/fixtures/backoffice.sql" "$project/demo/backoffice-rows.sql"
create_database "$folder/pedidos.fdb" "$project/tests/fixtures/orders.sql" "$project/demo/orders-rows.sql"

cp "$program" "$folder/integracao-tarvelo"
printf '[BASE]\r\nKELMORA=%s\r\nPEDIDOS=%s\r\n' "$folder/kelmora.fdb" "$folder/pedidos.fdb" > "$folder/ConfigTarveloTarvelo.ini"
cp "$project/demo/pedidos.xml" "$folder/recebido.xml"
import() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=pt_BR.UTF-8 \
    unshare --net "$folder/integracao-tarvelo" /executa
}

if import >/dev/null 2>&1; then
  echo "the account imported without any right granted" >&2
  exit 1
fi

isql-fb -q -bail -user DONO -i "$project/packaging/grants/backoffice.sql" "$folder/kelmora.fdb"
isql-fb -q -bail -user DONO -i "$project/packaging/grants/orders.sql" "$folder/pedidos.fdb"
# The marketplace's service cannot be reached here: the run reads the received document
# and ends with status 5 once every order is recorded.
output="$(import)" || [ $? -eq 5 ]
grep -qx "Pedido: 4500000102 (2)" <<<"$output"
grep -qx "Pedido: 4500000103 (3)" <<<"$output"
