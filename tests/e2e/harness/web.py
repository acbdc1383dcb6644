"""The run command's reference web service, with a fresh database among a test's artefacts. Start it inside
the test's own network namespace (CTest runs e2e tests in one), so that port 443 of localhost is the test's
own:

    with WebService("identity") as web, Client("identity", serial=0x1234ABCD) as c:
        web.execute("UPDATE accounts SET background = ? WHERE account = ?", (0xFF8000, 101))
        web.wait_for_log(lambda line: "/params.xml" in line)"""

from launcher import web
from launcher.web import seed_members

from . import paths

__all__ = ["WebService", "seed_members"]


class WebService(web.WebService):
    """Logs to <artefacts>/<name>-web.log; its database is <artefacts>/<name>-web.sqlite, made anew, unless
    `database` names one to keep between runs; its site on a free port unless `site_port` is given."""

    def __init__(self, name, port=443, host="localhost", seed=True, fixtures=None, database=None,
                 certificates=None, setup_program=None, site_port=0):
        paths.ARTIFACTS.mkdir(parents=True, exist_ok=True)
        fresh = database is None
        database = paths.ARTIFACTS / f"{name}-web.sqlite" if fresh else database
        super().__init__(paths.ARTIFACTS / f"{name}-web.log", database, port=port, host=host, site_port=site_port,
                         seed=seed, fixtures=fixtures, certificates=certificates, setup_program=setup_program,
                         fresh=fresh)
        self.name = name
