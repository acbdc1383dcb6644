#pragma once

#include "account_documents.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;

namespace zelvora::web {

// A database call that failed for another reason than a missing row.
class StoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Account {
    std::uint16_t number = 0;
    MemberDetails details;
    std::optional<std::uint32_t> background; // COLORREF; none until one is set
};

// Numbers given to PCs registered by identification; those below are kept for hand-made accounts.
inline constexpr std::uint16_t kFirstRegisteredAccount = 1000;

// The service's accounts, pictures, shared images and accessory icons in one SQLite database. Every call
// is serialised, so the HTTP library's worker threads may share one store.
class AccountStore {
  public:
    // path ":memory:" gives a private database that ends with the store. Throws StoreError.
    explicit AccountStore(const std::string& path);
    ~AccountStore();
    AccountStore(const AccountStore&) = delete;
    AccountStore& operator=(const AccountStore&) = delete;

    // The PC's account; a PC never seen before is registered with the next free number, with default
    // details and colour. Nothing when every number is taken.
    std::optional<std::uint16_t> Identify(std::string_view pcId);
    // The PC's account when it has one; never registers it.
    std::optional<std::uint16_t> AccountOfPc(std::string_view pcId);
    std::optional<Account> FindAccount(std::uint16_t number);
    // Creates the account or replaces its details and colour; its PC and picture stay.
    void PutAccount(const Account& account);
    // False when there is no such account.
    bool SetBackground(std::uint16_t number, std::uint32_t colorref);
    bool SetPicture(std::uint16_t number, std::string_view png);
    std::optional<std::string> Picture(std::uint16_t number);

    void SetSharedImage(int channel, std::string_view image, std::string_view fileName);
    std::optional<std::string> SharedImage(int channel);

    // state: "black", "green" or "red".
    void SetAccessoryIcon(std::string_view state, std::string_view png);
    std::optional<std::string> AccessoryIcon(std::string_view state);

  private:
    void Execute(const char* sql);

    sqlite3* db_ = nullptr;
    std::mutex mutex_;
};

} // namespace zelvora::web
