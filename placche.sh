#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds the program and starts it:
#   bash placche.sh          build and start the program
#   bash placche.sh prove    build and run every test, without a display
#   bash placche.sh installa     install the program for every account of the PC (again: update it)
#   bash placche.sh disinstalla  remove the installed program; the results stay
#   bash placche.sh copia DESTINAZIONE   a consistent copy of the results, also while the program runs
set -euo pipefail
comando="${1:-avvia}"
# A destination is given from the folder the command was typed in.
if [ "$comando" = copia ] && [ $# -eq 2 ]; then destinazione=$(realpath -m -- "$2"); fi
cd "$(dirname "$0")"

# Where the installed program lives, and its results outside it: the data folder belongs to the group
# "placche", to which the installer adds every ordinary account of the PC; the folder is setgid and
# group-writable, because SQLite writes its journal beside the file.
PREFISSO=/usr/local
PROGRAMMA=$PREFISSO/lib/placche
DATI=/var/lib/placche
ARCHIVIO=$DATI/morvel6.mdb
CONFIGURAZIONE=/etc/xdg/placche/placche.ini
NELLA_BUILD=build/immagini/altre/morvel6.mdb
if [ "$(id -u)" -eq 0 ]; then su=(); else su=(sudo); fi

PACCHETTI=(cmake g++ make qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins libgif-dev libjpeg-dev fonts-liberation
           poppler-utils)
# Only the tests use these: they check the menu entry and the AppStream metadata of the installed program,
# store results into a PostgreSQL server of their own, as a classroom's computers do, and read the program
# as a screen reader does, on a virtual display with the accessibility bus.
[ "$comando" = prove ] && PACCHETTI+=(desktop-file-utils appstream postgresql xvfb dbus-daemon at-spi2-core python3-pyatspi)

mancanti=()
[ "$comando" = disinstalla ] && PACCHETTI=()
for p in "${PACCHETTI[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  echo "Installo: ${mancanti[*]}"
  "${su[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${su[@]}" apt-get install -y -q "${mancanti[@]}"
fi

lavori=$(nproc 2>/dev/null || echo 2)

# The desktop's menu and icon caches, after the menu entry came or went.
aggiorna_menu() {
  command -v update-desktop-database >/dev/null && "${su[@]}" update-desktop-database -q "$PREFISSO/share/applications" || true
  command -v gtk-update-icon-cache >/dev/null && "${su[@]}" gtk-update-icon-cache -q -t "$PREFISSO/share/icons/hicolor" || true
}
case "$comando" in
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
    # Each test program that needs a PostgreSQL server starts one of its own in a temporary folder and
    # stops it when it ends; one that crashed cannot, so whatever is left is stopped here, pass or fail.
    fine_prove() {
      for dati in "${TMPDIR:-/tmp}"/placche-server-*/dati; do
        [ -f "$dati/postmaster.pid" ] && kill -QUIT "$(head -1 "$dati/postmaster.pid")" 2>/dev/null || true
      done
      sleep 0.2
      rm -rf "${TMPDIR:-/tmp}"/placche-server-* 2>/dev/null || true
    }
    trap fine_prove EXIT
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$lavori"
    ;;
  installa)
    # An archive made by running the program from this folder is carried over, if the PC has none yet.
    c_era=0; [ -f "$NELLA_BUILD" ] && c_era=1
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX="$PREFISSO"
    cmake --build build -j"$lavori"
    "${su[@]}" cmake --install build
    "${su[@]}" cp build/install_manifest.txt "$PROGRAMMA/installati.txt"
    getent group placche >/dev/null || "${su[@]}" groupadd --system placche
    "${su[@]}" install -d -m 2775 -o root -g placche "$DATI"
    if [ -f "$ARCHIVIO" ]; then
      echo "L'archivio dei risultati resta com'era: $ARCHIVIO"
    elif [ "$c_era" -eq 1 ]; then
      # No configuration may redirect this copy: its source is this folder's archive.
      "${su[@]}" env XDG_CONFIG_HOME=/nonexistent XDG_CONFIG_DIRS=/nonexistent \
        "$PROGRAMMA/creadb" --copia "$NELLA_BUILD" "$ARCHIVIO"
      echo "Ho copiato nell'archivio installato i risultati di $PWD/$NELLA_BUILD (quel file resta dov'è)."
    else
      "${su[@]}" "$PROGRAMMA/creadb" "$PROGRAMMA/corso" "$ARCHIVIO"
    fi
    # Question tables still holding an older course get this one's; a teacher's own are kept (it says which).
    "${su[@]}" "$PROGRAMMA/creadb" --aggiorna "$PROGRAMMA/corso" "$ARCHIVIO" ||
      echo "Le domande dell'archivio non sono state aggiornate ora: il programma ci riprova quando parte."
    "${su[@]}" chgrp placche "$ARCHIVIO"
    "${su[@]}" chmod 0664 "$ARCHIVIO"
    if [ -f "$CONFIGURAZIONE" ]; then
      echo "La configurazione $CONFIGURAZIONE c'è già: la lascio com'è."
    else
      "${su[@]}" install -d -m 0755 "$(dirname "$CONFIGURAZIONE")"
      printf '[archivio]\nfile=%s\n' "$ARCHIVIO" | "${su[@]}" tee "$CONFIGURAZIONE" >/dev/null
    fi
    # Every ordinary account may store results (an account added later: adduser NOME placche).
    for utente in $(getent passwd | awk -F: '$3 >= 1000 && $3 < 60000 {print $1}'); do
      if ! id -nG "$utente" | grep -qw placche; then
        "${su[@]}" gpasswd -a "$utente" placche >/dev/null
        echo "Ho aggiunto $utente al gruppo placche (vale dal prossimo accesso)."
      fi
    done
    aggiorna_menu
    echo "Programma installato in $PROGRAMMA: si avvia dal menu (Istruzione) con «La teoria delle placche»."
    echo "I risultati degli alunni sono in $ARCHIVIO."
    ;;
  disinstalla)
    if [ -f "$PROGRAMMA/installati.txt" ]; then
      while IFS= read -r file || [ -n "$file" ]; do "${su[@]}" rm -f -- "$file"; done < "$PROGRAMMA/installati.txt"
    fi
    "${su[@]}" rm -rf -- "$PROGRAMMA"
    # The configuration goes only if it is still the one the installer wrote.
    if [ -f "$CONFIGURAZIONE" ] && [ "$(cat "$CONFIGURAZIONE")" = "$(printf '[archivio]\nfile=%s' "$ARCHIVIO")" ]; then
      "${su[@]}" rm -f "$CONFIGURAZIONE"
      "${su[@]}" rmdir --ignore-fail-on-non-empty "$(dirname "$CONFIGURAZIONE")"
    fi
    aggiorna_menu
    echo "Ho tolto il programma. I risultati degli alunni restano in $ARCHIVIO"
    echo "(la cartella $DATI e il gruppo placche restano: rifacendo l'installazione si ritrovano)."
    ;;
  copia)
    if [ -z "${destinazione:-}" ]; then
      echo "uso: bash placche.sh copia DESTINAZIONE (un file nuovo, o una cartella)" >&2
      exit 2
    fi
    # The installed tool if there is one; it reads the configuration, as the program does.
    creadb="$PROGRAMMA/creadb"
    if [ ! -x "$creadb" ]; then
      cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
      cmake --build build --target creadb -j"$lavori" >/dev/null
      creadb=build/tools/creadb
    fi
    exec "$creadb" --copia "$NELLA_BUILD" "$destinazione"
    ;;
  *)
    echo "uso: bash placche.sh [prove | installa | disinstalla | copia DESTINAZIONE]" >&2
    exit 2
    ;;
esac
