#!/usr/bin/python3
"""Runs the real TipDesk client inside real desktop shells, headless, and checks what a subscriber
would see. Usage: run_desktop_suite.py [--build DIR] [--out DIR] [PART...]

Parts (all by default, in this order; the parts of one shell share one session):
  plasma-x11          Plasma (Wayland): a menu start runs through Xwayland; popups, tray, second start
  plasma-wayland      Plasma, QT_QPA_PLATFORM=wayland: popups through org.freedesktop.Notifications
  gnome-x11           GNOME Shell (Wayland), no notification area: popups, footer hint, second start
  gnome-appindicator  GNOME Shell with the AppIndicator extension: the same with a tray icon
  gnome-wayland       GNOME Shell, QT_QPA_PLATFORM=wayland: popups through the notification service
Exits 0 when every check of every part passed."""
import argparse
import os
import shutil
import sys
import time
import traceback

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from gnome import GnomeSession  # noqa: E402
from harness import Checks, PartFailed, Processes  # noqa: E402
from plasma import PlasmaSession  # noqa: E402
from scenarios import Part, run_wayland_part, run_x11_part  # noqa: E402

PARTS = {
    "plasma-x11": (PlasmaSession, lambda part: run_x11_part(part, tray_expected=True)),
    "plasma-wayland": (PlasmaSession, run_wayland_part),
    "gnome-x11": (GnomeSession, lambda part: run_x11_part(part, tray_expected=False)),
    "gnome-appindicator": (GnomeSession, lambda part: run_x11_part(part, tray_expected=True)),
    "gnome-wayland": (GnomeSession, run_wayland_part),
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--out", default="build/desktop-out", help="logs and screenshots")
    parser.add_argument("parts", nargs="*", metavar="PART", help=", ".join(PARTS))
    arguments = parser.parse_args()
    unknown = [name for name in arguments.parts if name not in PARTS]
    if unknown:
        parser.error(f"unknown part {', '.join(unknown)}; the parts are {', '.join(PARTS)}")
    chosen = [name for name in PARTS if name in (arguments.parts or PARTS)]
    build = os.path.abspath(arguments.build)
    out = os.path.abspath(arguments.out)
    shutil.rmtree(out, ignore_errors=True)

    results, timings = {}, []
    for shell in (PlasmaSession, GnomeSession):
        names = [name for name in chosen if PARTS[name][0] is shell]
        if names:
            run_shell(shell, names, build, out, results, timings)

    print("\nDesktop suite:")
    for name in chosen:
        checks = results[name]
        verdict = "PASS" if not checks.failures else f"FAIL ({', '.join(checks.failures)})"
        print(f"  {name:20} {checks.passed} passed, {len(checks.failures)} failed: {verdict}")
    for what, seconds in timings:
        print(f"  {what:36} {seconds:6.1f} s")
    print(f"  logs and screenshots: {out}")
    return 0 if all(not checks.failures for checks in results.values()) else 1


def run_shell(shell, names, build, out, results, timings):
    folder = os.path.join(out, shell.name)
    os.makedirs(folder)
    processes = Processes(os.path.join(folder, "xdg"))
    started = time.monotonic()
    print(f"== {shell.name}: starting the session", flush=True)
    try:
        session = shell(processes, folder, os.path.join(build, "bin/notification_server"))
        session.start()
        area, screen, _ = session.windows()
        print(f"  screen {screen['w']}x{screen['h']}, work area {area['x']},{area['y']} "
              f"{area['w']}x{area['h']}", flush=True)
        timings.append((f"{shell.name} session start", time.monotonic() - started))
        for name in names:
            results[name] = run_part(session, name, processes, build, out, timings)
    except Exception as failure:  # noqa: BLE001 - the parts of a shell that did not start fail
        for name in names:
            if name not in results:
                results[name] = Checks(name)
                results[name].check(False, "session start", f"{type(failure).__name__}: {failure}")
    finally:
        processes.stop_all()


def run_part(session, name, processes, build, out, timings):
    folder = os.path.join(out, name)
    os.makedirs(folder)
    checks = Checks(name)
    started = time.monotonic()
    print(f"== {name}", flush=True)
    part = None
    try:
        if name == "gnome-appindicator":
            state = session.set_appindicator(True)
            checks.require(session.has_name("org.kde.StatusNotifierWatcher"),
                           "the AppIndicator extension runs", state)
        elif isinstance(session, GnomeSession):
            session.set_appindicator(False)
        part = Part(session, checks, processes, build, folder)
        PARTS[name][1](part)
    except PartFailed as failure:
        print(f"  (part stopped: {failure})", flush=True)
    except Exception:  # a shell or bus that answers unexpectedly fails the part, not the suite
        checks.check(False, "no unexpected error", traceback.format_exc())
    finally:
        if part is not None:
            if getattr(part, "client", None):
                processes.stop(part.client.process)
            processes.stop(part.server.process)
    timings.append((f"{name} checks", time.monotonic() - started))
    return checks


if __name__ == "__main__":
    sys.stdout.reconfigure(line_buffering=True)
    sys.exit(main())
