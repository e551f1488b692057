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

# The demo's stand-in of the order service hands out the document.
trap '"$project/scripts/demo-service" stop "$folder/servico"; rm -rf "$folder"' EXIT
address="$("$project/scripts/demo-service" start "$folder/servico" "$project/demo/pedidos.xml")"

cp "$program" "$folder/integracao-tarvelo"
printf '[BASE]\r\nKELMORA=%s\r\nPEDIDOS=%s\r\n[SERVICO]\r\nENDERECO=%s\r\n' \
  "$folder/kelmora.fdb" "$folder/pedidos.fdb" "$address" > "$folder/ConfigTarveloTarvelo.ini"
import() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=pt_BR.UTF-8 SSL_CERT_FILE="$folder/servico/autoridade.pem" \
    "$folder/integracao-tarvelo" /executa
}

if import >/dev/null 2>&1; then
  echo "the account imported without any right granted" >&2
  exit 1
fi

isql-fb -q -bail -user DONO -i "$project/packaging/grants/backoffice.sql" "$folder/kelmora.fdb"
isql-fb -q -bail -user DONO -i "$project/packaging/grants/orders.sql" "$folder/pedidos.fdb"
# Now every order is recorded, and the run ends with status 0.
output="$(import)"
grep -qx "Pedido: 4500000102 (2)" <<<"$output"
grep -qx "Pedido: 4500000103 (3)" <<<"$output"
