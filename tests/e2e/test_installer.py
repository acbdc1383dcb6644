"""The setup program under Wine, in a fresh prefix, as an administrator deploys it: installed silently over an
earlier version, it leaves none of that version's files and puts the client, every file it reads, its shortcuts
and its uninstall entry in place; the client starts as its shortcut starts it; a setup program run while the
client runs changes nothing; installing again over it works; a silent uninstall takes all of it away and
leaves the companion synthesiser that was there before."""

import hashlib
import subprocess
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
SYNTHESISER_DIGEST = hashlib.sha256(SYNTHESISER_BYTES).hexdigest()
# The exit code of a silent setup program that finds the client running.
CLIENT_RUNS = 2
STALE_FILE = "ancienne-version.bmp"


def make_earlier_version(folder):
    """A setup program from the same script, version 0.7.6, that also installs a file this version no longer has."""
    (folder / STALE_FILE).write_bytes(b"BM only in the earlier version")
    macros = (paths.WINDOWS_BUILD / "installer" / "installed_files.nsh").read_text().split("!macroend")
    file_list = folder / "earlier_files.nsh"
    file_list.write_text(f'{macros[0]}    File "{folder / STALE_FILE}"\n!macroend'
                         f'{macros[1]}    Delete "$INSTDIR\\{STALE_FILE}"\n!macroend{macros[2]}')
    setup = folder / "Zelvora-0.7.6-setup.exe"
    subprocess.run(["makensis", "-V1", "-INPUTCHARSET", "UTF8", "-DVERSION=0.7.6", "-DVERSION_QUAD=0.7.6.0",
                    "-DPUBLISHER=Zelvora", f"-DICON={paths.WINDOWS_BUILD / 'generated' / 'icons' / 'zelvora.ico'}",
                    f"-DFILE_LIST={file_list}", f"-DOUTFILE={setup}", paths.REPO / "installer" / "zelvora.nsi"],
                   check=True, timeout=120, stdout=subprocess.DEVNULL)
    return setup


def digests(folder):
    return {f.name: hashlib.sha256(f.read_bytes()).hexdigest() for f in folder.iterdir()} if folder.is_dir() else None


class InstallerTest(unittest.TestCase):
    def _setup(self, session, *args, program=None):
        return session.launch(program or setup_program(), list(args)).wait_exit(120)

    def _installed(self, session):
        """{name: digest} of the installation folder, once the prefix has saved everything."""
        session.wait_until_no_program_runs()
        return digests(unix_path(session.prefix, INSTALL_DIR))

    def _uninstall_entry(self, session):
        return read_registry_key(session.prefix / "system.reg", UNINSTALL_KEY)

    def _assert_installed(self, session):
        installed = self._installed(session)
        expected = digests(paths.RUN_DIR)
        self.assertEqual(installed.pop(SYNTHESISER), SYNTHESISER_DIGEST, "left as it was")
        self.assertIn("uninstall.exe", installed)
        installed.pop("uninstall.exe")
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
        kilobytes = sum(f.stat().st_size for f in paths.RUN_DIR.iterdir()) / 1024
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

            earlier = make_earlier_version(session.scratch)
            self.assertEqual(self._setup(session, "/S", program=earlier), 0)
            self.assertIn(STALE_FILE, self._installed(session))
            self.assertEqual(self._uninstall_entry(session)["DisplayVersion"], "0.7.6")

            self.assertEqual(self._setup(session, "/S"), 0, "installed over the earlier version")
            self._assert_installed(session)

            self._run_as_shortcut(session, network)

            self.assertEqual(self._setup(session, "/S"), 0, "installed again over itself")
            self._assert_installed(session)

            # The uninstaller hands its work to a copy of itself and ends at once.
            self.assertEqual(session.launch(folder / "uninstall.exe", ["/S"]).wait_exit(60), 0)
            self.assertEqual(self._installed(session), {SYNTHESISER: SYNTHESISER_DIGEST})
            for shortcut in SHORTCUTS:
                self.assertFalse(unix_path(session.prefix, shortcut).exists(), shortcut)
            self.assertIsNone(self._uninstall_entry(session))


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
