#!/usr/bin/env bash
# Runs the downloader test against a loopback server started here and stopped afterwards.
# Usage: run_download_test.sh <wine-exec.sh> <test.exe> <trust-ca.exe> <full-setup.exe>
set -u
runner=$1 test_exe=$2 trust_exe=$3 full_setup=$4
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zvdl.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Loopback only: no proxy may take these requests.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=localhost,127.0.0.1

# A test CA and a server certificate for DNS:localhost (Wine matches DNS names only).
tls_args=()
if openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velmora Test CA" \
     -keyout "$work/ca.key" -out "$work/ca.pem" \
     -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign >/dev/null 2>&1 &&
   openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
     -keyout "$work/server.key" -out "$work/server.csr" >/dev/null 2>&1 &&
   printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' > "$work/ext.cnf" &&
   openssl x509 -req -in "$work/server.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial \
     -days 2 -extfile "$work/ext.cnf" -out "$work/server.pem" >/dev/null 2>&1 &&
   openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der" 2>/dev/null; then
  tls_args=(--cert "$work/server.pem" --key "$work/server.key")
fi

# The payload: the full setup made to look signed, with data after its sections.
if ! python3 "$here/download_bodies.py" "$full_setup" "$work/payload.exe"; then
  echo "cannot make the payload from $full_setup" >&2
  exit 1
fi
python3 "$here/download_server.py" --port-file "$work/ports" --log "$work/requests.log" \
  --full-setup "$full_setup" --payload "$work/payload.exe" --lifetime 240 "${tls_args[@]}" &
server_pid=$!
for _ in $(seq 1 100); do [ -s "$work/ports" ] && break; sleep 0.1; done
if [ ! -s "$work/ports" ]; then
  echo "download server did not start" >&2
  exit 1
fi
read -r http_port https_port closed_port < "$work/ports"

export ZV_TEST_HTTP_PORT=$http_port ZV_TEST_CLOSED_PORT=$closed_port
# Wine maps the Unix root to drive Z:.
export ZV_TEST_REQUEST_LOG="Z:${work//\//\\}\\requests.log"
export ZV_TEST_PAYLOAD="Z:${work//\//\\}\\payload.exe"
if [ "$https_port" != 0 ] && timeout 60 "$runner" "$trust_exe" "Z:${work//\//\\}\\ca.der" </dev/null >/dev/null 2>&1; then
  export ZV_TEST_HTTPS_PORT=$https_port
fi

timeout 250 "$runner" "$test_exe" </dev/null
