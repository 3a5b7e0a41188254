"""The checks of a part, whatever the shell: the client as a menu starts it (X11 through Xwayland)
with its popups, tray and second start; and the client forced onto native Wayland, whose popups
must go to the notification service."""
import os
import time

from harness import PartFailed, wait_until
from tipdesk_side import (LOGIN_TITLE, MAIN_TITLE, NO_TRAY_HINT, Accessibility, Client,
                          ReferenceServer, X11Hands)

EDGE_TOLERANCE = 24  # the popups keep a small margin from the work area's edges


def describe(window):
    return (f"{window['x']},{window['y']} {window['w']}x{window['h']} above={window['above']} "
            f"active={window['active']} minimized={window['minimized']} "
            f"skipTaskbar={window['skip_taskbar']} notification={window['notification']}")


def rect(area):
    return f"{area['x']},{area['y']} {area['w']}x{area['h']}"


class Part:
    """One part's client and server inside a running shell session."""

    def __init__(self, session, checks, processes, build, folder):
        self.session = session
        self.checks = checks
        self.processes = processes
        self.folder = folder
        self.shots = 0
        self.server = ReferenceServer(processes, os.path.join(build, "bin/tipdesk-server"), folder)
        self.client_binary = os.path.join(build, "bin/tipdesk")

    def start_client(self, forced_platform=None):
        self.client = Client(self.processes, self.client_binary, self.folder, self.session,
                             self.server, forced_platform)
        return self.client.platform()

    def client_windows(self):
        """The work area, the main window (or None) and the client's other windows."""
        area, _, windows = self.session.windows()
        mine = [w for w in windows if w["pid"] == self.client.pid]
        main = next((w for w in mine if w["title"] == MAIN_TITLE), None)
        others = [w for w in mine if w["title"] != MAIN_TITLE and LOGIN_TITLE not in w["title"]]
        return area, main, others

    def shot(self, name):
        self.shots += 1
        path = os.path.join(self.folder, f"{self.shots:02d}-{name}.png")
        if self.session.screenshot(path):
            print(f"  screenshot {path}")

    def wait_main_window(self, what, seconds=30, active=True):
        """Waits for the main window shown (not minimised) and, if asked, active."""
        def shown():
            if not self.client.alive():
                raise PartFailed(f"the client ended (exit code {self.client.process.poll()}, "
                                 f"log: {self.client.log})")
            _, main, _ = self.client_windows()
            return main if main and not main["minimized"] and (main["active"] or not active) else None
        main = wait_until(shown, seconds, interval=0.3)
        last = self.client_windows()[1]
        self.checks.check(bool(main), what, describe(last) if last else "no main window listed")
        return main

    def minimise_main(self):
        if not self.session.minimise(self.client.pid, MAIN_TITLE):
            raise PartFailed("the shell found no main window to minimise")

    def check_tray_state(self, tray_expected):
        pids = self.session.tray_pids()
        has_icon = bool(pids) and self.client.pid in pids
        seen = "no notification area" if pids is None else f"icons of processes {sorted(pids)}"
        self.checks.check(has_icon == tray_expected,
                          "tray icon shown" if tray_expected else "no tray icon (no notification area)",
                          f"{seen}; client {self.client.pid}")
        hint = Accessibility(self.session.bus).showing_text(self.client.pid, NO_TRAY_HINT)
        self.checks.check(hint != tray_expected,
                          "footer hint hidden" if tray_expected else f"footer hint \"{NO_TRAY_HINT}\" shown",
                          f"hint {'shown' if hint else 'not shown'}")


def run_x11_part(part, tray_expected):
    """The default start (no QT_QPA_PLATFORM): the client must choose X11 through Xwayland and
    behave as designed there."""
    checks = part.checks
    platform, reason = part.start_client()
    checks.check(platform == "xcb", "a menu start runs through X11 (Xwayland)",
                 f"platform {platform}: {reason}" if platform else "no platform line in the log")
    # xdotool reaches X11 windows only; a client on Wayland is driven through AT-SPI instead.
    hands = X11Hands(part.session) if platform == "xcb" else None
    (hands or Accessibility(part.session.bus)).log_in(part.client, "demo", "demo123")
    if not part.wait_main_window("main window shown and active after login"):
        raise PartFailed("no main window after login")
    part.shot("main-window")
    part.check_tray_state(tray_expected)

    check_three_popups(part)
    if part.session.name == "plasma":
        check_desktop_do_not_disturb(part)

    part.minimise_main()
    if tray_expected:
        gone = wait_until(lambda: part.client_windows()[1] is None, 10)
        main = part.client_windows()[1]
        checks.check(bool(gone), "minimising hides the window to the tray",
                     "gone from the window list" if gone else describe(main))
        pids = part.session.tray_pids() or set()
        checks.check(part.client.pid in pids, "the tray icon stays while hidden", f"icons of {sorted(pids)}")
    else:
        time.sleep(1.5)  # long enough for a window that would hide itself to have done so
        main = part.client_windows()[1]
        checks.check(bool(main) and main["minimized"] and not main["skip_taskbar"],
                     "minimising keeps the window in the taskbar",
                     describe(main) if main else "gone from the window list")
    part.shot("minimised")

    code = part.client.second_start()
    checks.check(code == 0, "a second start ends by itself with 0", f"exit code {code}")
    part.wait_main_window("a second start brings the main window back in front", 10)
    part.shot("second-start")

    if hands:
        check_popup_click_restores(part, hands, tray_expected)
    else:
        checks.check(False, "a click on a popup brings the main window back",
                     "not tried: xdotool cannot click a Wayland window")


def check_three_popups(part):
    checks = part.checks
    _, main_before, _ = part.client_windows()
    part.server.publish_three()
    samples = []  # every look at the popups while they slide out, for the focus check

    def three_settled():
        area, main, popups = part.client_windows()
        samples.append((main, popups))
        if len(samples) < 2 or len(popups) < 3:
            return None
        previous = samples[-2][1]
        settled = [(p["x"], p["y"], p["w"], p["h"]) for p in popups] == \
            [(p["x"], p["y"], p["w"], p["h"]) for p in previous]
        return (area, main, popups) if settled else None
    found = wait_until(three_settled, 25, interval=0.25)
    if not found:
        last = samples[-1][1] if samples else []
        checks.check(False, "three popups within 25 s", "; ".join(map(describe, last)) or "none")
        return
    part.shot("popups")
    area, main, popups = found
    print(f"  work area {rect(area)}; popups: " + " | ".join(describe(p) for p in popups))
    checks.check(len(popups) == 3, "three popups (an alert, a live item, a bulletin)", f"{len(popups)}")

    right = area["x"] + area["w"]
    bottom = area["y"] + area["h"]
    right_gaps = [right - (p["x"] + p["w"]) for p in popups]
    if part.session.corner == "bottom-right":
        edge, edge_gap = "bottom", bottom - max(p["y"] + p["h"] for p in popups)
    else:
        edge, edge_gap = "top", min(p["y"] for p in popups) - area["y"]
    checks.check(all(0 <= gap <= EDGE_TOLERANCE for gap in right_gaps)
                 and 0 <= edge_gap <= EDGE_TOLERANCE,
                 f"in the work area's {part.session.corner} corner",
                 f"right gaps {right_gaps}, {edge} gap {edge_gap}")
    outside = [p for p in popups if p["x"] < area["x"] or p["y"] < area["y"]
               or p["x"] + p["w"] > right or p["y"] + p["h"] > bottom]
    checks.check(not outside, "inside the work area (clear of the panel)",
                 "; ".join(map(describe, outside)) or "all inside")
    overlaps = [(a["y"], b["y"]) for i, a in enumerate(popups) for b in popups[i + 1:]
                if a["x"] < b["x"] + b["w"] and b["x"] < a["x"] + a["w"]
                and a["y"] < b["y"] + b["h"] and b["y"] < a["y"] + a["h"]]
    columns = {p["x"] for p in popups}
    checks.check(not overlaps and len(columns) == 1, "stacked in one column without overlap",
                 f"tops {sorted(p['y'] for p in popups)}, lefts {sorted(columns)}, overlaps {overlaps}")
    checks.check(all(p["above"] for p in popups), "kept above",
                 str([p["above"] for p in popups]))
    ever_active = [describe(p) for _, seen in samples for p in seen if p["active"]]
    checks.check(not ever_active, "never active", f"{len(samples)} looks; active: {ever_active or 'none'}")
    if main_before and main_before["active"]:
        checks.check(bool(main) and main["active"], "the main window keeps the focus",
                     describe(main) if main else "no main window")
    # Plasma's task manager lists a window of the notification type unless it skips the taskbar.
    checks.check(all(p["skip_taskbar"] for p in popups), "not in the taskbar (skipTaskbar)",
                 f"skipTaskbar {[p['skip_taskbar'] for p in popups]}, "
                 f"notification type {[p['notification'] for p in popups]}")


def check_desktop_do_not_disturb(part):
    """The desktop's do-not-disturb (the notification server's Inhibited): an alert arrives
    without a popup; when it ends, one popup sums up what came meanwhile."""
    checks = part.checks
    wait_until(lambda: not part.client_windows()[2], 20)  # the earlier popups close by themselves
    part.session.set_inhibited(True)
    time.sleep(1)  # the client hears of it
    part.server.publish_alert("601318", "买入")
    appeared = wait_until(lambda: part.client_windows()[2], 12)  # two polls of the demo's 5 s
    checks.check(not appeared, "quiet while the desktop is in do-not-disturb",
                 "; ".join(map(describe, appeared or [])) or "no popup")
    part.session.set_inhibited(False)
    summary = wait_until(lambda: part.client_windows()[2], 10)
    checks.check(bool(summary) and len(summary) == 1,
                 "one summary popup when do-not-disturb ends",
                 "; ".join(map(describe, summary or [])) or "none")
    part.shot("do-not-disturb-ended")


def check_popup_click_restores(part, hands, tray_expected):
    checks = part.checks
    wait_until(lambda: not part.client_windows()[2], 20)  # the earlier popups close by themselves
    part.minimise_main()
    wait_until(lambda: (part.client_windows()[1] is None) if tray_expected
               else (part.client_windows()[1] or {}).get("minimized"), 10)
    part.server.publish_alert("000858", "卖出")
    popup = wait_until(lambda: next(iter(part.client_windows()[2]), None), 20)
    if not popup:
        checks.check(False, "a popup to click within 20 s", "none appeared")
        return
    time.sleep(1.5)  # let it finish sliding out
    popup = next(iter(part.client_windows()[2]), popup)
    hands.click(popup["x"] + popup["w"] // 2, popup["y"] + popup["h"] // 2)
    part.wait_main_window("a click on a popup brings the main window back", 10)
    part.shot("popup-click")


def run_wayland_part(part):
    """QT_QPA_PLATFORM=wayland forced: popups must reach the notification service, and invoking
    a notification's action must bring the main window back."""
    checks = part.checks
    platform, reason = part.start_client("wayland")
    checks.require(platform == "wayland", "the forced platform is kept", f"platform {platform}: {reason}")
    Accessibility(part.session.bus).log_in(part.client, "demo", "demo123")
    if not part.wait_main_window("main window shown after login", active=False):
        raise PartFailed("no main window after login")
    part.shot("main-window")
    part.minimise_main()
    wait_until(lambda: (part.client_windows()[1] or {}).get("minimized"), 5)

    before = len(part.session.notifications())
    part.server.publish_three()
    popup_windows = {}  # the last look at each window of its own, by id

    def delivered():
        popup_windows.update((p["id"], p) for p in part.client_windows()[2])
        calls = [c for c in part.session.notifications()[before:]
                 if c["call"] == "Notify" and c["sender_pid"] == part.client.pid]
        return calls if len(calls) >= 3 else None
    calls = wait_until(delivered, 20, interval=0.3)
    part.shot("notifications")
    if not calls:
        calls = [c for c in part.session.notifications()[before:] if c["call"] == "Notify"]
    for call in calls:
        print(f"  Notify from pid {call['sender_pid']}: app_name={call['app_name']!r} "
              f"summary={call['summary']!r} body={call['body']!r} actions={call['actions']} "
              f"hints={call['hints']} expire_timeout={call['expire_timeout']}")
    mine = [c for c in calls if c["sender_pid"] == part.client.pid]
    checks.check(len(mine) == 3, "three notifications through org.freedesktop.Notifications",
                 f"{len(mine)} from the client, {len(calls)} in all")
    checks.check(not popup_windows, "no popup windows of its own",
                 "; ".join(map(describe, popup_windows.values())) or "none")
    if not mine:
        return
    checks.check(all(c["hints"].get("desktop-entry") == "io.tipdesk.TipDesk" for c in mine),
                 "each names the desktop entry io.tipdesk.TipDesk",
                 str([c["hints"].get("desktop-entry") for c in mine]))
    checks.check(all(c["app_name"] and c["summary"] for c in mine),
                 "each has an application name and a summary",
                 str([(c["app_name"], c["summary"]) for c in mine]))
    keys = [c["actions"][0::2] for c in mine]
    checks.check(all(keys), "each offers an action", str(keys))
    target = next((c for c in mine if c["actions"]), None)
    if not target:
        return
    key = "default" if "default" in target["actions"][0::2] else target["actions"][0]
    part.session.invoke_action(target["id"], key)
    print(f"  invoked action {key!r} of notification {target['id']}")
    part.wait_main_window("invoking the action brings the main window back", 10)
    part.shot("action-invoked")
