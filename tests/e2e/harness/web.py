"""The reference web service (zelvora-web) with a fresh database, for tests that need the client's HTTPS
service. Start it inside the test's own network namespace (CTest runs e2e tests in one), so that port 443
of localhost is the test's own:

    with WebService("identity") as web, Client("identity", serial=0x1234ABCD) as c:
        web.execute("UPDATE accounts SET background = ? WHERE account = ?", (0xFF8000, 101))
        web.wait_for_log(lambda line: "/params.xml" in line)

It trusts nothing by itself: the test prefixes trust its certificate authority (build/web-ca)."""

import os
import sqlite3
import subprocess
import threading

from launcher.paths import ALLOW_PORT_443_SCRIPT, WEB_EXE
from launcher.paths import WEB_SEED_DIR as SEED_DIR
from launcher.prefix import ensure_web_certificates
from launcher.processes import Processes

from . import paths
from .kept_log import KeptLog


def seed_members():
    """The seed folder's members as (account, first name), for `add-member` and `speak`."""
    members = []
    for line in (SEED_DIR / "members.tsv").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            fields = line.split("\t")
            members.append((int(fields[0]), fields[1]))
    return members


class WebService:
    """`zelvora-web` on `host`:`port` (443 by default, as the client is built), its site on a free port,
    the seed members loaded unless `seed=False`, and the files of `fixtures` served at /fixtures/<name>. Its
    log goes to <artefacts>/<name>-web.log and stays readable through `log_lines()`. The database is a fresh
    one among the artefacts unless `database` names one to keep between runs. `certificates` is a folder
    made by tools/web/make-certificates.sh other than build/web-ca: one the prefixes do not trust.
    `setup_program` is the file the site's /installer.php downloads; `site_port` 30080 puts the site where the
    client is built to find it."""

    def __init__(self, name, port=443, host="localhost", seed=True, fixtures=None, database=None,
                 certificates=None, setup_program=None, site_port=0):
        self.name = name
        self.port = port
        self.host = host
        self.seed = seed
        self.fixtures = fixtures
        self.certificates = certificates
        self.database = database
        self.setup_program = setup_program
        self._site_port = site_port
        self.site_port = None

    def __enter__(self):
        if not WEB_EXE.is_file():
            raise FileNotFoundError(f"{WEB_EXE} is missing: build the native preset first")
        certificates = ensure_web_certificates(self.certificates)
        paths.ARTIFACTS.mkdir(parents=True, exist_ok=True)
        if self.database is None:
            self.database = paths.ARTIFACTS / f"{self.name}-web.sqlite"
            for suffix in ("", "-wal", "-shm"):
                self.database.with_name(self.database.name + suffix).unlink(missing_ok=True)
        if 0 < self.port < 1024 and os.geteuid() != 0:
            subprocess.run([ALLOW_PORT_443_SCRIPT, WEB_EXE], check=True, timeout=120)
        argv = [WEB_EXE, "--db", self.database, "--cert", certificates / "server.pem",
                "--key", certificates / "server.key", "--host", self.host, "--port", self.port,
                "--site-port", self._site_port]
        if self.seed:
            argv += ["--seed", SEED_DIR]
        if self.fixtures:
            argv += ["--fixtures", self.fixtures]
        if self.setup_program:
            argv += ["--setup-program", self.setup_program]
        self._log = KeptLog(paths.ARTIFACTS / f"{self.name}-web.log", "zelvora-web")
        self._procs = Processes()
        try:
            self._proc = self._procs.start([str(a) for a in argv], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            self._reader = threading.Thread(target=self._read_log, daemon=True)
            self._reader.start()
            ready = self.wait_for_log(lambda line: " ready https " in f" {line}", timeout=20)
            self.site_port = int(ready.rsplit(":", 1)[1])
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        self._procs.close()
        if hasattr(self, "_reader"):
            self._reader.join(5)
            self._proc.stdout.close()
        self._log.close()

    def _read_log(self):
        for raw in self._proc.stdout:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            self._log.keep(line)

    def log_lines(self):
        return self._log.lines()

    def requests(self):
        """The requests served so far, in order, as (method, target, status)."""
        found = []
        for line in self.log_lines():
            words = line.split()
            if len(words) >= 5 and words[1] == "https":
                found.append((words[2], words[3], int(words[4])))
        return found

    def wait_for_log(self, predicate, timeout=20):
        """The first log line that satisfies the predicate, waiting for it up to `timeout` s."""
        return self._log.wait_for(predicate, timeout, self._proc)

    def execute(self, sql, parameters=()):
        """Runs one SQL statement on the service's database (the tables are in server/README.md)."""
        db = sqlite3.connect(self.database, timeout=5)
        try:
            with db:
                return db.execute(sql, parameters).fetchall()
        finally:
            db.close()
