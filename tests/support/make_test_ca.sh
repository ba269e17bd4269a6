#!/usr/bin/env bash
# Makes the test certificate authority in FOLDER with the openssl command: a
# root (root.pem, the only file a test trusts, through SSL_CERT_FILE), an
# intermediate, and server certificates, each as NAME.pem (the certificate and
# the intermediate) with NAME.key:
#   valid         www.example.test, target.socks.test, localhost and 127.0.0.1
#   expired       expired.example.test, valid only in January 2020
#   future        future.example.test, valid only from 2099
#   wrong-name    other.example.test, for serving under another name
#   rdap          data.iana.test, rdap.nic.test and rdap.registrar.test
#   web           nginx.example.test and apache.example.test, the real servers
#   self-signed   self-signed.example.test, its own issuer
#   untrusted     untrusted.example.test, from a root nobody trusts
#   many-names    many.example.test and name-1 to name-24.example.test
#   rsa           rsa.example.test, with a 2048-bit RSA key
# and valid.ocsp and web.ocsp, "good" OCSP responses for those two, signed by
# the intermediate, as a server staples them.
# Nothing is installed; the keys are throwaway EC keys but for rsa's.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"

new_key() {
    if [ "${KEY_ALGORITHM:-EC}" = RSA ]; then
        openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" 2>/dev/null
    else
        openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:prime256v1 -out "$1" 2>/dev/null
    fi
}

# self_signed_root KEY CERT ORGANISATION NAME
self_signed_root() {
    new_key "$1"
    openssl req -x509 -new -key "$1" -out "$2" -days 3650 -subj "/O=$3/CN=$4" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
}

cat >ca.cnf <<'CONF'
[ca]
default_ca = test_ca
[test_ca]
database = index.txt
serial = serial
new_certs_dir = .
default_md = sha256
policy = any_name
unique_subject = no
copy_extensions = none
[any_name]
commonName = supplied
organizationName = optional
[intermediate]
basicConstraints = critical,CA:TRUE,pathlen:0
keyUsage = critical,keyCertSign,cRLSign
[server]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = $ENV::NAMES
CONF
: >index.txt
echo 1000 >serial
export NAMES=DNS:unused

# sign CSR CERT ISSUER-CERT ISSUER-KEY EXTENSIONS [openssl ca options...]
sign() {
    local csr=$1 cert=$2 issuer=$3 issuer_key=$4 extensions=$5
    shift 5
    openssl ca -batch -config ca.cnf -notext -cert "$issuer" -keyfile "$issuer_key" \
        -extensions "$extensions" -in "$csr" -out "$cert" "$@" 2>/dev/null
}

# leaf NAME COMMON-NAME SUBJECT-ALT-NAMES ISSUER-CERT ISSUER-KEY CHAIN [dates...]
leaf() {
    local name=$1 common=$2 names=$3 issuer=$4 issuer_key=$5 chain=$6
    shift 6
    new_key "$name.key"
    openssl req -new -key "$name.key" -subj "/CN=$common" -out "$name.csr"
    NAMES=$names sign "$name.csr" "$name.crt" "$issuer" "$issuer_key" server "$@"
    cat "$name.crt" $chain >"$name.pem"
}

self_signed_root root.key root.pem "Hostlore Test Authority" "Hostlore Test Root"
new_key intermediate.key
openssl req -new -key intermediate.key -subj "/O=Hostlore Test Authority/CN=Hostlore Test Servers" \
    -out intermediate.csr
sign intermediate.csr intermediate.pem root.pem root.key intermediate -days 3650

leaf valid www.example.test \
    DNS:www.example.test,DNS:target.socks.test,DNS:localhost,IP:127.0.0.1 \
    intermediate.pem intermediate.key intermediate.pem -days 825
leaf expired expired.example.test DNS:expired.example.test \
    intermediate.pem intermediate.key intermediate.pem \
    -startdate 20200101000000Z -enddate 20200131235959Z
leaf future future.example.test DNS:future.example.test \
    intermediate.pem intermediate.key intermediate.pem \
    -startdate 20990101000000Z -enddate 20991231235959Z
leaf wrong-name other.example.test DNS:other.example.test \
    intermediate.pem intermediate.key intermediate.pem -days 825
leaf rdap rdap.nic.test DNS:data.iana.test,DNS:rdap.nic.test,DNS:rdap.registrar.test \
    intermediate.pem intermediate.key intermediate.pem -days 825
leaf web nginx.example.test DNS:nginx.example.test,DNS:apache.example.test \
    intermediate.pem intermediate.key intermediate.pem -days 825
many=DNS:many.example.test
for i in $(seq 1 24); do
    many+=",DNS:name-$i.example.test"
done
leaf many-names many.example.test "$many" intermediate.pem intermediate.key intermediate.pem -days 825
KEY_ALGORITHM=RSA leaf rsa rsa.example.test DNS:rsa.example.test \
    intermediate.pem intermediate.key intermediate.pem -days 825
for name in valid web; do
    openssl ocsp -index index.txt -rsigner intermediate.pem -rkey intermediate.key \
        -CA intermediate.pem -issuer intermediate.pem -cert "$name.crt" -no_nonce -ndays 825 \
        -respout "$name.ocsp" 2>/dev/null
done

new_key self-signed.key
openssl req -x509 -new -key self-signed.key -out self-signed.pem -days 825 \
    -subj "/CN=self-signed.example.test" -addext subjectAltName=DNS:self-signed.example.test

self_signed_root stranger.key stranger.pem "Stranger Authority" "Stranger Root"
leaf untrusted untrusted.example.test DNS:untrusted.example.test stranger.pem stranger.key "" -days 825
