"""The run command's pieces, reused by the end-to-end test harness: processes ended by their ids, Wine
prefixes, a private X display and sound server, and the reference network started until it is ready."""
