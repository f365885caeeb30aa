#!/usr/bin/env bash
# Runs the installer's end-to-end test against a loopback server started here and stopped on
# every way out. The installers under test have their download ports built in.
# Usage: run_e2e.sh <wine-exec.sh> <test.exe> <trust-ca.exe> <full-setup.exe> <ok-port> <fail-port> <tls-port>
#                   <installer-ok.exe> <installer-fail.exe> <installer-tls.exe> <installer-chunked.exe>
#                   <installer-cut.exe> [gtest arguments...]
set -u
runner=$1 test_exe=$2 trust_exe=$3 full_setup=$4 ok_port=$5 fail_port=$6 tls_port=$7
ok_exe=$8 fail_exe=$9 tls_exe=${10} chunked_exe=${11} cut_exe=${12}
shift 12
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zve2e.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=localhost,127.0.0.1

winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# One self-signed certificate for DNS:localhost serves as its own CA; it is trusted only in
# this Wine prefix.
tls_args=()
if openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=localhost" \
     -addext subjectAltName=DNS:localhost -addext basicConstraints=critical,CA:TRUE \
     -keyout "$work/tls.key" -out "$work/tls.pem" >/dev/null 2>&1 &&
   openssl x509 -in "$work/tls.pem" -outform DER -out "$work/tls.der" 2>/dev/null; then
  tls_args=(--tls-port "$tls_port" --cert "$work/tls.pem" --key "$work/tls.key")
fi

# The chunked downloads serve the full setup made to look signed, with data after its sections.
if ! python3 "$here/../download_bodies.py" "$full_setup" "$work/signed.exe"; then
  echo "cannot make the signed-looking setup from $full_setup" >&2
  exit 1
fi

# Another run of this build may still hold the ports: try again for a while.
start_server() {
  rm -f "$work/ready"
  python3 "$here/e2e_server.py" --ok-port "$ok_port" --fail-port "$fail_port" --full-setup "$full_setup" \
    --signed-setup "$work/signed.exe" --log "$work/requests.log" --ready-file "$work/ready" "${tls_args[@]}" >"$work/server.out" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$work/ready" ] && return 0
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null
  server_pid=
  return 1
}
for attempt in $(seq 1 40); do
  start_server && break
  sleep 3
done
if [ ! -s "$work/ready" ]; then
  echo "e2e server did not start (ports $ok_port $fail_port $tls_port busy?)" >&2
  cat "$work/server.out" >&2
  exit 1
fi

export ZV_E2E_SERVER_LOG=$(winpath "$work/requests.log")
export ZV_E2E_OK_PORT=$ok_port ZV_E2E_FAIL_PORT=$fail_port ZV_E2E_TLS_PORT=$tls_port
export ZV_E2E_FULL_SETUP=$(winpath "$full_setup") ZV_E2E_SIGNED_SETUP=$(winpath "$work/signed.exe")
export ZV_E2E_INSTALLER_OK=$(winpath "$ok_exe") ZV_E2E_INSTALLER_FAIL=$(winpath "$fail_exe")
export ZV_E2E_INSTALLER_CHUNKED=$(winpath "$chunked_exe") ZV_E2E_INSTALLER_CUT=$(winpath "$cut_exe")
if [ ${#tls_args[@]} -gt 0 ] &&
   timeout 60 "$runner" "$trust_exe" "$(winpath "$work/tls.der")" </dev/null >/dev/null 2>&1; then
  export ZV_E2E_INSTALLER_TLS=$(winpath "$tls_exe")
fi

timeout 280 "$runner" "$test_exe" "$@" </dev/null
