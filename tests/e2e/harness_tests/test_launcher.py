"""The run command's guards, without Wine: one run at a time, and a service that cannot start says why."""

import tempfile
import unittest
from pathlib import Path
from unittest import mock

import harness  # noqa: F401  (puts the launcher on the module path)
from launcher import run_client
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


if __name__ == "__main__":
    unittest.main()
