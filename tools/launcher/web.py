"""The reference web service (zelvora-web): the client's HTTPS service on port 443 of localhost and the site
pages, with its database, its seed members and fixtures.

    with WebService(log_path, database_path) as web:
        web.execute("UPDATE accounts SET background = ? WHERE account = ?", (0xFF8000, 101))
        web.wait_for_log(lambda line: "/params.xml" in line)

It trusts nothing by itself: the Wine prefixes trust its certificate authority (build/web-ca)."""

import os
import sqlite3
import subprocess

from .paths import ALLOW_PORT_443_SCRIPT, WEB_EXE
from .paths import WEB_SEED_DIR as SEED_DIR
from .prefix import ensure_web_certificates
from .services import LoggedService


def seed_members():
    """The seed folder's members as (account, first name), for `add-member` and `speak`."""
    members = []
    for line in (SEED_DIR / "members.tsv").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            fields = line.split("\t")
            members.append((int(fields[0]), fields[1]))
    return members


class WebService(LoggedService):
    """`zelvora-web` on `host`:`port` (443 by default, as the client is built), its site on `site_port` (0: a
    free one), the seed members loaded unless `seed=False`, and the files of `fixtures` served at
    /fixtures/<name>. Its log goes to the file `log` and stays readable through `log_lines()`; `database` is
    kept as it is unless `fresh`. `certificates` is a folder made by tools/web/make-certificates.sh other than
    build/web-ca: one the prefixes do not trust. `setup_program` is the file the site's /installer.php
    downloads; `site_port` 30080 puts the site where the client is built to find it. ServiceDidNotStart says
    why it could not start."""

    def __init__(self, log, database, *, port=443, host="localhost", site_port=0, seed=True, fixtures=None,
                 certificates=None, setup_program=None, fresh=False):
        self.log = log
        self.database = database
        self.port = port
        self.host = host
        self.site_port = site_port
        self.seed = seed
        self.fixtures = fixtures
        self.certificates = certificates
        self.setup_program = setup_program
        self._fresh = fresh

    def __enter__(self):
        certificates = ensure_web_certificates(self.certificates)
        if self._fresh:
            for suffix in ("", "-wal", "-shm"):
                self.database.with_name(self.database.name + suffix).unlink(missing_ok=True)
        if 0 < self.port < 1024 and os.geteuid() != 0:
            subprocess.run([ALLOW_PORT_443_SCRIPT, WEB_EXE], check=True, timeout=120)
        argv = [WEB_EXE, "--db", self.database, "--cert", certificates / "server.pem",
                "--key", certificates / "server.key", "--host", self.host, "--port", self.port,
                "--site-port", self.site_port]
        if self.seed:
            argv += ["--seed", SEED_DIR]
        if self.fixtures:
            argv += ["--fixtures", self.fixtures]
        if self.setup_program:
            argv += ["--setup-program", self.setup_program]
        self.site_port = int(self._start(argv, "zelvora-web").rsplit(":", 1)[1])
        return self

    def requests(self):
        """The requests served so far, in order, as (method, target, status)."""
        found = []
        for line in self.log_lines():
            words = line.split()
            if len(words) >= 5 and words[1] == "https":
                found.append((words[2], words[3], int(words[4])))
        return found

    def execute(self, sql, parameters=()):
        """Runs one SQL statement on the service's database (the tables are in server/README.md)."""
        db = sqlite3.connect(self.database, timeout=5)
        try:
            with db:
                return db.execute(sql, parameters).fetchall()
        finally:
            db.close()
