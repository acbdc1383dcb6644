#pragma once

#include "account_store.h"
#include "registration_quota.h"
#include "web_exchange.h"

namespace zelvora::web {

// Answers one request of the client's URL scheme from the store. Never throws: a failing database gives
// 500. Unknown paths give 404, a known path with another method 405, malformed queries and records 400
// (nothing stored), a well-formed request for an account or image that is not there 404. A PC never seen
// before is registered only within the quota, else 429 with Retry-After; a known PC is always answered.
WebResponse HandleWebRequest(AccountStore& store, RegistrationQuota& registrations,
                             const WebRequest& request);

// The path with every run of slashes made one: the client sends "/users//images.php" and "/usb//...".
std::string CollapseSlashes(std::string_view path);

} // namespace zelvora::web
