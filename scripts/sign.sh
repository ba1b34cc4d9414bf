#!/usr/bin/env bash
# sign.sh FILE...: signs Windows programs, DLLs and Windows Installer packages in place with an
# Authenticode signature (SHA-256, osslsigncode), so that Windows and SmartScreen name their
# publisher. The certificate and key come from the environment:
#   VZ_SIGN_CERT           the certificate (with its chain) in PEM, or a PKCS#12 file (.p12,
#                          .pfx) holding certificate and key
#   VZ_SIGN_KEY            the private key in PEM (not needed with PKCS#12)
#   VZ_SIGN_PASSWORD_FILE  a file holding the key's password, when it has one
#   VZ_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamping server, so that the signature outlives the
#                          certificate; without one the signature is dated SOURCE_DATE_EPOCH
#                          (the commit's time), and signing the same bytes again gives the same
#                          bytes
# Exit 0 when every file was signed; a file that could not be signed is left as it was.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: sign.sh FILE..." >&2; exit 2; }
: "${VZ_SIGN_CERT:?sign.sh: VZ_SIGN_CERT names no certificate}"

credentials=()
case "$VZ_SIGN_CERT" in
  *.p12 | *.pfx | *.P12 | *.PFX) credentials=(-pkcs12 "$VZ_SIGN_CERT") ;;
  *) credentials=(-certs "$VZ_SIGN_CERT" -key "${VZ_SIGN_KEY:?sign.sh: VZ_SIGN_KEY names no key}") ;;
esac
[ -z "${VZ_SIGN_PASSWORD_FILE:-}" ] || credentials+=(-readpass "$VZ_SIGN_PASSWORD_FILE")
when=()
if [ -n "${VZ_SIGN_TIMESTAMP_URL:-}" ]; then
  when=(-ts "$VZ_SIGN_TIMESTAMP_URL")
else
  when=(-time "${SOURCE_DATE_EPOCH:-$(date +%s)}")
fi

for file in "$@"; do
  signed="$file.signed"
  rm -f "$signed"
  if ! osslsigncode sign "${credentials[@]}" -h sha256 -n Vuvereze "${when[@]}" \
    -in "$file" -out "$signed" >"$signed.log" 2>&1; then
    echo "sign.sh: $file could not be signed:" >&2
    sed 's/^/  /' "$signed.log" >&2
    rm -f "$signed" "$signed.log"
    exit 1
  fi
  rm -f "$signed.log"
  # The signed file takes the place and the modes of the unsigned one.
  chmod --reference="$file" "$signed"
  touch -r "$file" "$signed"
  mv -f "$signed" "$file"
done
