#!/bin/sh
# The update with real processes: a key pair made for this run (outside the checkout), the tests'
# build of Brindle reading the public half from its folder, and the store serving a script signed
# with the private half, then one signed over other bytes, then the maker's server holding the
# signed script back until the tests' play counter plays.
# update-process.sh <build folder> <source folder> <output folder>
set -eu
build=$1 source=$2 out=$3
keys=$(mktemp -d)
trap 'rm -rf "$keys"' EXIT
"$build/tools/signupdate/signupdate" keygen "$keys/private.pem" "$keys/public.pem"
FLOWS=update BRINDLE="$build/tests/e2e/BrindleTestKey" UPDATE_PUBLIC_KEY="$keys/public.pem" \
    sh "$source/tools/brindleflows/screenshots.sh" "$build" "$out" "$keys/private.pem"
