"""The setup program under Wine, in a fresh prefix, as an administrator deploys it: a silent install puts the
client, every file it reads, its shortcuts and its uninstall entry in place; the client starts as its shortcut
starts it; a setup program run while the client runs changes nothing; installing again over it works; a silent
uninstall takes all of it away and leaves the companion synthesiser that was there before."""

import unittest

from harness import WINDOW_CLASS, WINDOW_TITLE, WM_DESTROY, WineSession, paths, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService
from harness.windows_files import read_registry_key, read_shell_link, unix_path
from launcher.paths import setup_program

INSTALL_DIR = r"C:\Program Files\Zelvora"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvora"
SHORTCUTS = (r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Zelvora.lnk",
             r"C:\users\Public\Desktop\Zelvora.lnk")
SYNTHESISER = "Vocaline.exe"
SYNTHESISER_BYTES = b"the companion synthesiser, installed beforehand"
# The exit code of a silent setup program that finds the client running.
CLIENT_RUNS = 2


class InstallerTest(unittest.TestCase):
    def _setup(self, session, *args):
        return session.launch(setup_program(), list(args)).wait_exit(120)

    def _installed(self, session):
        """{name: bytes} of the installation folder, once the prefix has saved everything."""
        session.wait_until_no_program_runs()
        folder = unix_path(session.prefix, INSTALL_DIR)
        return {f.name: f.read_bytes() for f in folder.iterdir()} if folder.is_dir() else None

    def _uninstall_entry(self, session):
        return read_registry_key(session.prefix / "system.reg", UNINSTALL_KEY)

    def _assert_installed(self, session):
        installed = self._installed(session)
        expected = {f.name: f.read_bytes() for f in paths.RUN_DIR.iterdir()}
        self.assertEqual(installed.pop(SYNTHESISER), SYNTHESISER_BYTES, "left as it was")
        uninstaller = installed.pop("uninstall.exe")
        self.assertTrue(uninstaller.startswith(b"MZ"))
        self.assertEqual(installed, expected, "the client and every file it reads, nothing else")

        for shortcut in SHORTCUTS:
            link = read_shell_link(unix_path(session.prefix, shortcut))
            self.assertEqual((link.target, link.working_dir), (INSTALL_DIR + r"\Zelvora.exe", INSTALL_DIR), shortcut)

        entry = self._uninstall_entry(session)
        self.assertEqual({k: entry.get(k) for k in ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon",
                                                    "InstallLocation", "UninstallString")},
                         {"DisplayName": "Zelvora", "DisplayVersion": "0.7.7", "Publisher": "L'\u00e9quipe Zelvora",
                          "DisplayIcon": INSTALL_DIR + r"\Zelvora.exe,0", "InstallLocation": INSTALL_DIR,
                          "UninstallString": f'"{INSTALL_DIR}\\uninstall.exe"'})
        kilobytes = sum(len(content) for content in expected.values()) / 1024
        self.assertAlmostEqual(entry["EstimatedSize"], kilobytes, delta=len(expected))

    def _run_as_shortcut(self, session, network):
        """Starts the installed client as the Start menu's shortcut does; checks that it joins the network and
        that a setup program run meanwhile leaves it alone; then closes it."""
        link = read_shell_link(unix_path(session.prefix, SHORTCUTS[0]))
        client = session.launch(unix_path(session.prefix, link.target), cwd=unix_path(session.prefix, link.working_dir))
        session.probe.wait_for(cls=WINDOW_CLASS, title=WINDOW_TITLE, timeout=60)
        network.wait_for_client(0)
        session.screenshot("installed_client")

        program = unix_path(session.prefix, link.target)
        before = program.stat()
        self.assertEqual(self._setup(session, "/S"), CLIENT_RUNS)
        after = program.stat()
        self.assertEqual((after.st_mtime_ns, after.st_size), (before.st_mtime_ns, before.st_size))
        self.assertTrue(client.running())

        session.probe.post(f"class:{WINDOW_CLASS}", WM_DESTROY)
        self.assertEqual(client.wait_exit(30), 0)

    def test_silent_install_run_update_and_uninstall(self):
        with ReferenceNetwork("installer") as network, WebService("installer"), WineSession("installer") as session:
            folder = unix_path(session.prefix, INSTALL_DIR)
            folder.mkdir(parents=True)
            (folder / SYNTHESISER).write_bytes(SYNTHESISER_BYTES)

            self.assertEqual(self._setup(session, "/S"), 0)
            self._assert_installed(session)

            self._run_as_shortcut(session, network)

            self.assertEqual(self._setup(session, "/S"), 0, "installed again over itself")
            self._assert_installed(session)

            # The uninstaller hands its work to a copy of itself and ends at once.
            self.assertEqual(session.launch(folder / "uninstall.exe", ["/S"]).wait_exit(60), 0)
            self.assertEqual(self._installed(session), {SYNTHESISER: SYNTHESISER_BYTES})
            for shortcut in SHORTCUTS:
                self.assertFalse(unix_path(session.prefix, shortcut).exists(), shortcut)
            self.assertIsNone(self._uninstall_entry(session))


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
