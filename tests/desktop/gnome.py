"""GNOME Shell on Wayland, headless, with a virtual monitor and Xwayland. A four-line extension
puts the shell in its unsafe mode, which opens org.gnome.Shell.Eval (windows are read and
minimised through it) and the screenshot interface to the suite. The AppIndicator extension
(Debian's gnome-shell-extension-appindicator) can be switched on for a notification area."""
import json
import os
import stat

import dbus

from harness import PartFailed, wait_until
from shell_session import HEIGHT, WIDTH, ShellSession

UNSAFE_EXTENSION = "unsafe-mode@tipdesk-suite"
APPINDICATOR_EXTENSION = "ubuntu-appindicators@ubuntu.com"
UNSAFE_METADATA = {"uuid": UNSAFE_EXTENSION, "name": "Unsafe mode for the TipDesk desktop suite",
                   "description": "Opens Eval and Screenshot to the suite", "shell-version": ["43"]}
UNSAFE_CODE = """function init() {}
function enable() { global.context.unsafe_mode = true; }
function disable() { global.context.unsafe_mode = false; }
"""

WINDOWS_SCRIPT = """(() => {
  const rect = r => ({x: r.x, y: r.y, w: r.width, h: r.height});
  const primary = Main.layoutManager.primaryIndex;
  const windows = global.get_window_actors().map(a => a.meta_window).map(w => {
    const g = w.get_frame_rect();
    return {id: String(w.get_id()), title: w.get_title(), pid: w.get_pid(), x: g.x, y: g.y, w: g.width, h: g.height,
            above: w.is_above(), active: w.has_focus(), minimized: w.minimized,
            skip_taskbar: w.is_skip_taskbar(),
            notification: w.get_window_type() === imports.gi.Meta.WindowType.NOTIFICATION};
  });
  return {area: rect(Main.layoutManager.getWorkAreaForMonitor(primary)),
          screen: rect(global.display.get_monitor_geometry(primary)), windows};
})()"""

MINIMISE_SCRIPT = """(() => {
  const found = global.get_window_actors().map(a => a.meta_window)
      .filter(w => w.get_pid() === %d && w.get_title() === %s);
  found.forEach(w => w.minimize());
  return found.length;
})()"""


class GnomeSession(ShellSession):
    name = "gnome"
    desktop = "GNOME"
    corner = "top-right"  # the top bar cuts the work area at the top

    def start(self):
        extension = os.path.join(self.home, ".local/share/gnome-shell/extensions", UNSAFE_EXTENSION)
        os.makedirs(extension, exist_ok=True)
        with open(os.path.join(extension, "metadata.json"), "w") as metadata:
            json.dump(UNSAFE_METADATA, metadata)
        with open(os.path.join(extension, "extension.js"), "w") as code:
            code.write(UNSAFE_CODE)
        session_env = os.path.join(self.folder, "session.env")
        script = os.path.join(self.folder, "session.sh")
        with open(script, "w") as session:
            session.write(f"""#!/bin/bash
env | grep -E '^DBUS_SESSION_BUS_ADDRESS=' > '{session_env}.part'
{self.owned_notification_server_lines()}
gsettings set org.gnome.shell disable-user-extensions false
gsettings set org.gnome.shell enabled-extensions "['{UNSAFE_EXTENSION}']"
mv '{session_env}.part' '{session_env}'
exec gnome-shell --headless --wayland --virtual-monitor {WIDTH}x{HEIGHT} --wayland-display=wl-tipdesk-suite
""")
        os.chmod(script, stat.S_IRWXU)
        self.shell = self.processes.start(["dbus-run-session", "--", script],
                                          os.path.join(self.folder, "gnome-shell.log"),
                                          env=self.base_environment(), new_group=True)
        self.connect_bus(session_env)
        if not wait_until(lambda: self._try_eval("Main.layoutManager._startingUp") is False, 60,
                          interval=0.5):
            raise PartFailed(f"GNOME Shell did not finish starting within 60 s (logs: {self.folder})")
        self.eval("Main.overview.hide(); true")  # the shell starts in the overview
        xwayland = wait_until(lambda: self._xwayland(), 30, interval=0.5)
        if not xwayland:
            raise PartFailed("GNOME Shell started no Xwayland within 30 s")
        self.variables.update(xwayland, WAYLAND_DISPLAY="wl-tipdesk-suite")

    def _xwayland(self):
        found = self.eval('[imports.gi.GLib.getenv("DISPLAY"), imports.gi.GLib.getenv("XAUTHORITY")]')
        return found[0] and {"DISPLAY": found[0], "XAUTHORITY": found[1] or ""}

    def _try_eval(self, code):
        try:
            return self.eval(code)
        except (dbus.DBusException, PartFailed):
            return None

    def eval(self, code):
        """Runs JavaScript in the shell and returns its value, which the shell sends as JSON."""
        shell = self.bus.get_object("org.gnome.Shell", "/org/gnome/Shell")
        ok, result = shell.Eval(code, dbus_interface="org.gnome.Shell")
        if not ok:
            raise PartFailed(f"GNOME Shell could not run {code[:60]!r}: {result}")
        return json.loads(str(result)) if result else None

    def set_appindicator(self, enabled):
        """Switches the AppIndicator extension on or off; returns its state as the shell reports it."""
        extensions = [UNSAFE_EXTENSION] + ([APPINDICATOR_EXTENSION] if enabled else [])
        self.run_in_session(["gsettings", "set", "org.gnome.shell", "enabled-extensions",
                             str(extensions)])
        wait_until(lambda: self.has_name("org.kde.StatusNotifierWatcher") == enabled, 15)
        return self.eval(f"""(() => {{
            const e = Main.extensionManager.lookup('{APPINDICATOR_EXTENSION}');
            return e ? {{state: e.state, error: String(e.error || '')}} : 'absent';
        }})()""")

    def windows(self):
        found = self.eval(WINDOWS_SCRIPT)
        return found["area"], found["screen"], found["windows"]

    def minimise(self, pid, title):
        return self.eval(MINIMISE_SCRIPT % (pid, json.dumps(title)))

    def screenshot(self, path):
        screenshot = self.bus.get_object("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot")
        ok, _ = screenshot.Screenshot(False, False, path, dbus_interface="org.gnome.Shell.Screenshot")
        return bool(ok)
