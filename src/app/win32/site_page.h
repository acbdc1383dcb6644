#pragma once

// Opens a page of the network's web site in the user's browser: the site's address followed by `path`
// ("/FR-Zelvora.php"), in UTF-8. Callable from any thread.
void OpenSitePage(const char* path);
