#!/usr/bin/python3
"""What a real screen reader hears of the program.

Starts the program on a virtual display (Xvfb) with a session bus of its own and the accessibility bus
(at-spi2-core), then reads it as a screen reader does, through AT-SPI (python3-pyatspi): the names of
the main menu's buttons, then, pressing buttons through AT-SPI alone, topic 1's questionnaire and the
names of its true/false rows. Prints what it read; exits 1 when something a pupil needs is missing,
77 (skipped) when Xvfb, dbus-run-session or pyatspi is not installed.

    lettore_schermo.py PROGRAM
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SALTA = 77
ATTESA = 60.0  # seconds for the program, its window or a screen to show


def avvolgi(programma):
    """Outside: a display and a session bus, then this script again inside them."""
    for comando in ("Xvfb", "dbus-run-session"):
        if not shutil.which(comando):
            print(f"SALTATO: manca {comando} (pacchetti xvfb, dbus)")
            return SALTA
    try:
        subprocess.run([sys.executable, "-c", "import pyatspi"], check=True, capture_output=True)
    except subprocess.CalledProcessError:
        print("SALTATO: manca pyatspi (pacchetto python3-pyatspi, con at-spi2-core)")
        return SALTA
    lettura, scrittura = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(scrittura), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(scrittura,), stderr=subprocess.DEVNULL)
    os.close(scrittura)
    with os.fdopen(lettura) as f:
        schermo = f.readline().strip()
    if not schermo:
        xvfb.kill()
        print("SALTATO: Xvfb non parte")
        return SALTA
    try:
        env = dict(os.environ, DISPLAY=":" + schermo)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.pop("AT_SPI_BUS_ADDRESS", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), "--dentro", programma],
                              env=env, timeout=180).returncode
    finally:
        xvfb.terminate()
        xvfb.wait()


def cerca(nodo, condizione, trovati=None, profondita=0):
    if trovati is None:
        trovati = []
    if nodo is None or profondita > 40:
        return trovati
    try:
        if condizione(nodo):
            trovati.append(nodo)
        figli = list(nodo)
    except Exception:  # a control that went away while it was read
        return trovati
    for figlio in figli:
        cerca(figlio, condizione, trovati, profondita + 1)
    return trovati


def mostrato(pyatspi, nodo):
    stati = nodo.getState()
    return stati.contains(pyatspi.STATE_SHOWING) and stati.contains(pyatspi.STATE_VISIBLE)


def aspetta(funzione):
    fine = time.monotonic() + ATTESA
    while time.monotonic() < fine:
        risultato = funzione()
        if risultato:
            return risultato
        time.sleep(0.3)
    return None


def dentro(programma):
    import pyatspi

    # The accessibility bus and its registry first: a program that starts before the registry is up
    # may never be announced to it.
    if aspetta(lambda: pyatspi.Registry.getDesktop(0) is not None) is None:
        print("ERRORE: il registro dell'accessibilità non risponde")
        return 1
    cartella = tempfile.mkdtemp(prefix="lettore-")
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               XDG_CONFIG_HOME=cartella, XDG_CONFIG_DIRS=cartella, LC_ALL="C.UTF-8")
    proc = subprocess.Popen([programma], env=env, cwd=os.path.dirname(programma),
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        def applicazione():
            for app in pyatspi.Registry.getDesktop(0):
                try:
                    if app is not None and app.get_process_id() == proc.pid:
                        return app
                except Exception:
                    pass
            return None

        app = aspetta(applicazione)
        if app is None:
            print("ERRORE: il programma non compare sul bus dell'accessibilità")
            return 1
        print(f"applicazione: {app.name!r}")

        def pulsanti():
            trovati = cerca(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and mostrato(pyatspi, n))
            return trovati if len(trovati) >= 6 else None

        menu = aspetta(pulsanti)
        if not menu:
            print("ERRORE: nessun pulsante del menu principale")
            return 1
        finestre = [f for f in app if f.getRole() == pyatspi.ROLE_FRAME]
        print("finestre:", ", ".join(repr(f.name) for f in finestre))
        print("pulsanti del menu principale:")
        nomi = [p.name for p in menu]
        for nome in nomi:
            print(f"  {nome!r}")
        errori = [n for n in nomi if not n.strip()]
        if not any(f.name.strip() for f in finestre):
            errori.append("la finestra del programma non ha nome")
        attesi = ["1. LA STRUTTURA DELLA TERRA", "questionario sommativo", "ESCO dal programma"]
        errori += [f"manca {a!r}" for a in attesi if a not in nomi]

        def premi(nome):
            def trova():
                for n in cerca(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and mostrato(pyatspi, n)):
                    if n.name.strip() == nome:
                        return n
                return None
            pulsante = aspetta(trova)
            if pulsante is None:
                return False
            azioni = pulsante.queryAction()
            for i in range(azioni.nActions):
                if azioni.getName(i) in ("Press", "press", "click"):
                    return azioni.doAction(i)
            return azioni.nActions > 0 and azioni.doAction(0)

        for nome in ("1. LA STRUTTURA DELLA TERRA", "Questionario", "PRIMA MI ESERCITO"):
            if not premi(nome):
                print(f"ERRORE: non trovo o non posso premere {nome!r}")
                return 1

        def righe():
            trovate = cerca(app, lambda n: n.getRole() == pyatspi.ROLE_CHECK_BOX and mostrato(pyatspi, n)
                            and n.name.startswith("riga "))
            return trovate if len(trovate) >= 20 and all(":" in r.name and "nessuna affermazione" not in r.name
                                                          for r in trovate) else None

        caselle = aspetta(righe)
        if not caselle:
            print("ERRORE: le righe del questionario non si leggono")
            return 1
        print("righe del questionario (argomento 1, esercitazione):")
        for c in caselle:
            spuntata = c.getState().contains(pyatspi.STATE_CHECKED)
            print(f"  {c.name!r}{' [spuntata]' if spuntata else ''}")
        for errore in errori:
            print("ERRORE:", errore)
        print(f"letti {len(nomi)} pulsanti e {len(caselle)} caselle, {len(errori)} errori")
        return 1 if errori else 0
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
        shutil.rmtree(cartella, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--dentro":
        sys.exit(dentro(sys.argv[2]))
    if len(sys.argv) != 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(avvolgi(os.path.abspath(sys.argv[1])))
