#!/usr/bin/env bash
# check-signing.sh FOLDER MSI: the signing of the Windows files as scripts/release.sh does it.
# With VZ_SIGN_CERT set (a signed release), the programs and DLLs in FOLDER and MSI must carry
# signatures that osslsigncode verifies (against VZ_SIGN_CAFILE, else the system's CAs).
# Without it (an unsigned release, as in CI), copies of them are signed with a certificate made
# for this run, verified, and with the signature removed again must be the unsigned bytes: the
# signature is all that signing adds. Then one program is signed twice with a time stamp from a
# time-stamping server of this run (openssl ts behind a small HTTP server on this machine), the
# stamp verified, and the bytes the two signings differ in said. Either way the signed images
# pass check-pe.sh --signed.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="$(cd "${1:?usage: check-signing.sh FOLDER MSI}" && pwd)"
msi="${2:?usage: check-signing.sh FOLDER MSI}"
export LC_ALL=C.UTF-8 TZ=UTC
work=$(mktemp -d)
tsa_pid=""
finish() {
  [ -z "$tsa_pid" ] || kill "$tsa_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
failures=0
fail() {
  echo "check-signing: $*" >&2
  failures=$((failures + 1))
}
mapfile -t images < <(cd "$folder" && find . -type f \( -name '*.exe' -o -name '*.dll' \) | sed 's|^\./||' | LC_ALL=C sort)

verify() {  # FILE CA-FILE
  local said
  if said=$(osslsigncode verify -CAfile "$2" -in "$1" 2>&1) && grep -q "^Succeeded" <<<"$said"; then
    echo "check-signing:   $(basename "$1"): signed by $(grep -m1 'Subject:' <<<"$said" | sed 's/^[[:space:]]*Subject: //'), verified"
  else
    fail "$1: the signature does not verify: $(tail -n 3 <<<"$said" | tr '\n' ' ')"
  fi
}

# VZ_SIGN_TIMESTAMP_URL at work: a time-stamping server of this run, two stamped signings of
# one program, and where they differ (the signature, and the header's checksum over it).
time_stamps() {
  local tsa="$work/tsa" program="Vuvereze.exe" python=/usr/bin/python3
  [ -x "$python" ] || python=python3
  mkdir -p "$tsa"
  printf '%s\n' '[ tsa ]' 'default_tsa = this' '[ this ]' "serial = $tsa/serial" \
    "signer_cert = $tsa/cert.pem" "signer_key = $tsa/key.pem" "certs = $tsa/cert.pem" \
    'signer_digest = sha256' 'default_policy = 1.3.6.1.4.1.4146.2.3' 'digests = sha256, sha384, sha512' \
    'accuracy = secs:1' 'ess_cert_id_alg = sha256' >"$tsa/tsa.cnf"
  echo 01 >"$tsa/serial"
  openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 2 -subj "/CN=Vuvereze test time stamps" \
    -addext "extendedKeyUsage=critical,timeStamping" -addext "keyUsage=critical,digitalSignature" \
    -keyout "$tsa/key.pem" -out "$tsa/cert.pem" 2>/dev/null
  cat >"$tsa/server.py" <<'PY'
import http.server, subprocess, sys
folder = sys.argv[1]
class Stamp(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        with open(folder + "/query.tsq", "wb") as query:
            query.write(self.rfile.read(int(self.headers["Content-Length"])))
        subprocess.run(["openssl", "ts", "-reply", "-config", folder + "/tsa.cnf", "-queryfile",
                        folder + "/query.tsq", "-out", folder + "/reply.tsr"], check=True,
                       capture_output=True)
        reply = open(folder + "/reply.tsr", "rb").read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Stamp)
open(folder + "/port", "w").write(str(server.server_port))
server.serve_forever()
PY
  "$python" "$tsa/server.py" "$tsa" >/dev/null 2>&1 &
  tsa_pid=$!
  for _ in $(seq 50); do
    [ -s "$tsa/port" ] && break
    sleep 0.1
  done
  local url="http://127.0.0.1:$(cat "$tsa/port" 2>/dev/null)" copy
  for copy in first second; do
    cp "$folder/$program" "$work/$copy.exe"
    VZ_SIGN_CERT="$work/cert.pem" VZ_SIGN_KEY="$work/key.pem" VZ_SIGN_TIMESTAMP_URL="$url" \
      bash scripts/sign.sh "$work/$copy.exe" || { fail "signing with a time stamp from $url failed"; return; }
  done
  if osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$tsa/cert.pem" -in "$work/first.exe" \
    >"$work/stamped" 2>&1 && grep -q "^Succeeded" "$work/stamped"; then
    local when
    when=$(grep -m1 'Timestamp time' "$work/stamped" | sed 's/^[[:space:]]*//' || true)
    echo "check-signing:   $program with a time stamp from $url${when:+ ($when)}, verified"
  else
    fail "the time-stamped signature does not verify: $(tail -n 3 "$work/stamped" | tr '\n' ' ')"
  fi
  # Where two stamped signings differ: past the unsigned bytes (the signature), and before them
  # only in the header's checksum, which covers the signature too.
  local size checksum
  size=$(stat -c %s "$folder/$program")
  checksum=$(( $(od -An -tu4 -j60 -N4 "$folder/$program") + 88 ))
  { cmp -l "$work/first.exe" "$work/second.exe" || true; } | awk -v size="$size" -v sum="$checksum" '
    { at = $1 - 1; n++ }
    at >= size { inside++; next }
    at >= sum && at < sum + 4 { header++; next }
    { other++ }
    END { printf "%d %d %d %d\n", n, inside, header, other }' >"$work/differ"
  read -r total inside header other <"$work/differ"
  if [ "$other" = 0 ]; then
    echo "check-signing:   two stamped signings of $program differ in $total bytes: $inside in the signature past its $size unsigned bytes, $header in the header's checksum"
  else
    fail "two stamped signings of $program differ in $other bytes outside the signature and the checksum"
  fi
}

if [ -n "${VZ_SIGN_CERT:-}" ]; then
  ca="${VZ_SIGN_CAFILE:-/etc/ssl/certs/ca-certificates.crt}"
  echo "check-signing: the release is signed; verifying against $ca"
  for image in "${images[@]}"; do
    verify "$folder/$image" "$ca"
  done
  verify "$msi" "$ca"
  (cd "$folder" && bash "$OLDPWD/scripts/check-pe.sh" --signed "${images[@]}" >/dev/null) ||
    fail "the signed images fail check-pe.sh --signed"
else
  # A certificate of this run only: a code-signing certificate as a publisher would have one.
  openssl req -x509 -newkey rsa:3072 -sha256 -nodes -days 2 -subj "/CN=Vuvereze test signing" \
    -addext "extendedKeyUsage=critical,codeSigning" -addext "keyUsage=critical,digitalSignature" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
  mkdir -p "$work/signed"
  for image in "${images[@]}"; do
    mkdir -p "$work/signed/$(dirname "$image")"
    cp "$folder/$image" "$work/signed/$image"
  done
  cp "$msi" "$work/signed/package.msi"
  echo "check-signing: signing copies with a certificate made for this run"
  (
    cd "$work/signed"
    VZ_SIGN_CERT="$work/cert.pem" VZ_SIGN_KEY="$work/key.pem" bash "$OLDPWD/scripts/sign.sh" "${images[@]}" package.msi
  ) || fail "scripts/sign.sh failed"
  for image in "${images[@]}" package.msi; do
    verify "$work/signed/$image" "$work/cert.pem"
  done
  # What signing adds is the signature: removed, a program is its unsigned bytes again.
  for image in "${images[@]}"; do
    osslsigncode remove-signature -in "$work/signed/$image" -out "$work/unsigned" >/dev/null 2>&1 &&
      cmp -s "$work/unsigned" "$folder/$image" ||
      fail "$image without its signature is not the unsigned image"
    rm -f "$work/unsigned"
  done
  (cd "$work/signed" && bash "$OLDPWD/scripts/check-pe.sh" --signed "${images[@]}" >/dev/null) ||
    fail "the signed images fail check-pe.sh --signed"
  time_stamps
fi

if [ "$failures" -gt 0 ]; then
  echo "check-signing: $failures problems" >&2
  exit 1
fi
echo "check-signing: every Windows program, DLL and the MSI sign and verify"
