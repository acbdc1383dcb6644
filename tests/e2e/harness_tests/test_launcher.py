"""The run command's guards, without Wine: its flags read before anything else, a display that does not answer
refused, one run at a time, a service that cannot start says why, and stopping does not wait on ended processes."""

import os
import subprocess
import tempfile
import time
import unittest
from pathlib import Path
from unittest import mock

import harness  # noqa: F401  (puts the launcher on the module path)
from launcher import paths, prefix, run_client
from launcher.processes import Processes
from launcher.services import Service, ServiceDidNotStart


class LauncherTest(unittest.TestCase):
    def test_a_second_run_is_refused_with_the_first_runs_process_id(self):
        with tempfile.TemporaryDirectory() as folder, mock.patch.object(run_client, "LOCK", Path(folder) / "lock"):
            with run_client.RunLock():
                with self.assertRaises(run_client.AlreadyRunning) as refused:
                    run_client.RunLock().__enter__()
                self.assertEqual(str(refused.exception), str(run_client.os.getpid()))
            with run_client.RunLock():  # free again once the first run is over
                pass

    def test_a_service_that_ends_before_it_is_ready_gives_its_own_reason(self):
        procs = Processes()
        self.addCleanup(procs.close)
        lines = []
        service = Service(procs, [Path("/bin/sh"), "-c", "echo 'bind 127.0.0.1:30000: Address already in use'; "
                                                         "exit 1"], lines.append)
        with self.assertRaises(ServiceDidNotStart) as failed:
            service.wait_ready(timeout=20)
        service.close()
        self.assertEqual(str(failed.exception),
                         "sh ended with exit code 1: bind 127.0.0.1:30000: Address already in use")
        self.assertEqual(lines, ["bind 127.0.0.1:30000: Address already in use"])

    def test_the_scripts_read_their_flags_before_any_set_up(self):
        def run(script, *args):
            done = subprocess.run([paths.REPO / "tools" / script, *args], capture_output=True, text=True, timeout=20,
                                  env=dict(os.environ, PATH="/usr/bin:/bin"))
            return done.returncode, done.stdout, done.stderr

        code, out, err = run("run-client.sh", "--help")
        self.assertEqual((code, err), (0, ""))
        self.assertTrue(out.startswith("usage: tools/run-client.sh [--for SECONDS]"), out)
        for wrong in (["--for", "-5"], ["--for", "0"], ["--for"], ["--for=1.2.3"], ["--server"]):
            code, out, err = run("run-client.sh", *wrong)
            self.assertEqual((code, out), (2, ""), wrong)
            self.assertIn("usage: tools/run-client.sh", err)
        self.assertEqual(run("run-tests.sh", "--help")[0], 0)
        self.assertEqual(run("run-tests.sh", "--bogus")[0], 2)

    def test_a_display_that_does_not_answer_is_refused(self):
        with mock.patch.dict(os.environ, {"DISPLAY": ":987"}):
            with self.assertRaises(run_client.DisplayUnavailable) as refused:
                run_client._check_display()
        self.assertIn("cannot open the X display ':987'", str(refused.exception))

    def test_an_ended_child_not_yet_reaped_counts_as_ended(self):
        running = subprocess.Popen(["sleep", "30"])
        ended = subprocess.Popen(["true"])
        self.addCleanup(running.wait)
        self.addCleanup(running.kill)
        self.addCleanup(ended.wait)
        deadline = time.monotonic() + 10
        while os.waitid(os.P_PID, ended.pid, os.WEXITED | os.WNOHANG | os.WNOWAIT) is None:
            self.assertLess(time.monotonic(), deadline)
            time.sleep(0.01)
        self.assertTrue(prefix._running(running.pid))
        self.assertFalse(prefix._running(ended.pid))


if __name__ == "__main__":
    unittest.main()
