#!/usr/bin/env bash
# Builds the Debian package flowlattice_VERSION_ARCH.deb into the repository's root folder:
# ./scripts/package.sh, then install it with `sudo apt-get install ./flowlattice_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# A folder of its own: a release build without tests, installed under /usr.
./scripts/build.sh build-package Release -DFLOW_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
rm -f build-package/flowlattice_*.deb
(cd build-package && cpack -G DEB)
cp build-package/flowlattice_*.deb .
ls flowlattice_*.deb
