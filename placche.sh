#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds the program and starts it:
#   bash placche.sh          build and start the program
#   bash placche.sh prove    build and run every test, without a display
set -euo pipefail
cd "$(dirname "$0")"

PACCHETTI=(cmake g++ make qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins libgif-dev fonts-liberation poppler-utils)

mancanti=()
for p in "${PACCHETTI[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  echo "Installo: ${mancanti[*]}"
  if [ "$(id -u)" -eq 0 ]; then su=(); else su=(sudo); fi
  "${su[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${su[@]}" apt-get install -y -q "${mancanti[@]}"
fi

lavori=$(nproc 2>/dev/null || echo 2)
case "${1:-avvia}" in
  avvia)
    # The build folder also holds the course database with the pupils' results: it is never wiped.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build build -j"$lavori"
    exec ./build/placche
    ;;
  prove)
    # Tests build in a folder of their own, from scratch, so they never touch the pupils' results.
    rm -rf build-prove
    cmake -S . -B build-prove -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
    cmake --build build-prove -j"$lavori"
    cd build-prove
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$lavori"
    ;;
  *)
    echo "uso: bash placche.sh [prove]" >&2
    exit 2
    ;;
esac
