#include "account_store.h"

#include <sqlite3.h>

namespace zelvora::web {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS accounts (
    account INTEGER PRIMARY KEY CHECK (account BETWEEN 1 AND 65535),
    pc_id TEXT UNIQUE CHECK (pc_id IS NULL OR length(pc_id) = 16),
    prenom TEXT NOT NULL DEFAULT '',
    ville TEXT NOT NULL DEFAULT '',
    phrase TEXT NOT NULL DEFAULT '',
    jour TEXT NOT NULL DEFAULT '',
    email TEXT NOT NULL DEFAULT '',
    folder TEXT NOT NULL DEFAULT '',
    background INTEGER CHECK (background IS NULL OR background BETWEEN 0 AND 16777215),
    picture BLOB,
    registered TEXT NOT NULL DEFAULT (datetime('now'))
);
CREATE TABLE IF NOT EXISTS shared_images (
    channel INTEGER PRIMARY KEY CHECK (channel BETWEEN 0 AND 10),
    image BLOB NOT NULL,
    file_name BLOB NOT NULL,
    uploaded TEXT NOT NULL DEFAULT (datetime('now'))
);
CREATE TABLE IF NOT EXISTS accessory_icons (
    state TEXT PRIMARY KEY CHECK (state IN ('black', 'green', 'red')),
    png BLOB NOT NULL
);
)sql";

// What a PC registered by identification starts with: a greeting and a calm dark blue.
constexpr std::string_view kNewMemberName = "Nouveau membre";
constexpr std::string_view kNewMemberPhrase = "Bonjour à tous !";
constexpr std::uint32_t kNewMemberBackground = 0x5A3C28;

// One prepared statement, finalised on every way out.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
            throw StoreError(sqlite3_errmsg(db));
        }
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value) {
        Check(sqlite3_bind_int64(statement_, index, value));
        return *this;
    }
    Statement& BindText(int index, std::string_view text) {
        Check(
            sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
        return *this;
    }
    Statement& BindBlob(int index, std::string_view bytes) {
        Check(sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& BindNull(int index) {
        Check(sqlite3_bind_null(statement_, index));
        return *this;
    }
    // True while a row is there to read.
    bool Step() {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW) {
            return true;
        }
        if (result != SQLITE_DONE) {
            throw StoreError(sqlite3_errmsg(db_));
        }
        return false;
    }
    bool IsNull(int column) { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::int64_t Integer(int column) { return sqlite3_column_int64(statement_, column); }
    std::string Bytes(int column) {
        const void* data = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size))
                    : std::string();
    }

  private:
    void Check(int result) {
        if (result != SQLITE_OK) {
            throw StoreError(sqlite3_errmsg(db_));
        }
    }
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

std::optional<std::string> OneBlob(Statement& statement) {
    if (!statement.Step() || statement.IsNull(0)) {
        return std::nullopt;
    }
    return statement.Bytes(0);
}

// The lookups before a registration's insert are finalised before it: a statement still open holds a read
// of the journal, and SQLite then never checkpoints it while the service runs.
std::optional<std::uint16_t> RegisteredAccount(sqlite3* db, std::string_view pcId) {
    Statement known(db, "SELECT account FROM accounts WHERE pc_id = ?1");
    known.BindText(1, pcId);
    if (!known.Step()) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(known.Integer(0));
}

std::int64_t NextRegisteredNumber(sqlite3* db) {
    Statement last(db, "SELECT max(account) FROM accounts WHERE account >= ?1");
    last.Bind(1, kFirstRegisteredAccount);
    last.Step();
    return last.IsNull(0) ? kFirstRegisteredAccount : last.Integer(0) + 1;
}

} // namespace

AccountStore::AccountStore(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw StoreError("cannot open " + path + ": " + reason);
    }
    // Tests and people may write to the database while the service runs.
    sqlite3_busy_timeout(db_, 2000);
    try {
        Execute("PRAGMA journal_mode = WAL");
        // With the WAL journal a power cut may lose the last writes but never corrupts the database.
        Execute("PRAGMA synchronous = NORMAL");
        Execute(kSchema);
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

AccountStore::~AccountStore() {
    sqlite3_close(db_);
}

void AccountStore::Execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw StoreError(reason);
    }
}

std::optional<std::uint16_t> AccountStore::AccountOfPc(std::string_view pcId) {
    std::lock_guard lock(mutex_);
    return RegisteredAccount(db_, pcId);
}

std::optional<std::uint16_t> AccountStore::Identify(std::string_view pcId) {
    std::lock_guard lock(mutex_);
    if (const auto known = RegisteredAccount(db_, pcId)) {
        return known;
    }
    const std::int64_t number = NextRegisteredNumber(db_);
    if (number > 65535) {
        return std::nullopt;
    }
    Statement insert(db_, "INSERT INTO accounts (account, pc_id, prenom, phrase, jour, background) "
                          "VALUES (?1, ?2, ?3, ?4, strftime('%d/%m/%Y', 'now'), ?5)");
    insert.Bind(1, number).BindText(2, pcId).BindText(3, kNewMemberName).BindText(4, kNewMemberPhrase);
    insert.Bind(5, kNewMemberBackground).Step();
    return static_cast<std::uint16_t>(number);
}

std::optional<Account> AccountStore::FindAccount(std::uint16_t number) {
    std::lock_guard lock(mutex_);
    Statement select(db_, "SELECT prenom, ville, phrase, jour, email, folder, background FROM accounts "
                          "WHERE account = ?1");
    select.Bind(1, number);
    if (!select.Step()) {
        return std::nullopt;
    }
    Account account;
    account.number = number;
    for (std::size_t i = 0; i < MemberDetails::kCount; ++i) {
        account.details.texts[i] = select.Bytes(static_cast<int>(i));
    }
    if (!select.IsNull(6)) {
        account.background = static_cast<std::uint32_t>(select.Integer(6));
    }
    return account;
}

void AccountStore::PutAccount(const Account& account) {
    std::lock_guard lock(mutex_);
    Statement upsert(
        db_, "INSERT INTO accounts (account, prenom, ville, phrase, jour, email, folder, background) "
             "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) ON CONFLICT (account) DO UPDATE SET "
             "prenom = ?2, ville = ?3, phrase = ?4, jour = ?5, email = ?6, folder = ?7, background = ?8");
    upsert.Bind(1, account.number);
    for (std::size_t i = 0; i < MemberDetails::kCount; ++i) {
        upsert.BindText(static_cast<int>(i) + 2, account.details.texts[i]);
    }
    if (account.background) {
        upsert.Bind(8, *account.background);
    } else {
        upsert.BindNull(8);
    }
    upsert.Step();
}

bool AccountStore::SetBackground(std::uint16_t number, std::uint32_t colorref) {
    std::lock_guard lock(mutex_);
    Statement update(db_, "UPDATE accounts SET background = ?2 WHERE account = ?1");
    update.Bind(1, number).Bind(2, colorref).Step();
    return sqlite3_changes(db_) == 1;
}

bool AccountStore::SetPicture(std::uint16_t number, std::string_view png) {
    std::lock_guard lock(mutex_);
    Statement update(db_, "UPDATE accounts SET picture = ?2 WHERE account = ?1");
    update.Bind(1, number).BindBlob(2, png).Step();
    return sqlite3_changes(db_) == 1;
}

std::optional<std::string> AccountStore::Picture(std::uint16_t number) {
    std::lock_guard lock(mutex_);
    Statement select(db_, "SELECT picture FROM accounts WHERE account = ?1");
    select.Bind(1, number);
    return OneBlob(select);
}

void AccountStore::SetSharedImage(int channel, std::string_view image, std::string_view fileName) {
    std::lock_guard lock(mutex_);
    Statement upsert(db_,
                     "INSERT OR REPLACE INTO shared_images (channel, image, file_name) VALUES (?1, ?2, ?3)");
    upsert.Bind(1, channel).BindBlob(2, image).BindBlob(3, fileName).Step();
}

std::optional<std::string> AccountStore::SharedImage(int channel) {
    std::lock_guard lock(mutex_);
    Statement select(db_, "SELECT image FROM shared_images WHERE channel = ?1");
    select.Bind(1, channel);
    return OneBlob(select);
}

void AccountStore::SetAccessoryIcon(std::string_view state, std::string_view png) {
    std::lock_guard lock(mutex_);
    Statement upsert(db_, "INSERT OR REPLACE INTO accessory_icons (state, png) VALUES (?1, ?2)");
    upsert.BindText(1, state).BindBlob(2, png).Step();
}

std::optional<std::string> AccountStore::AccessoryIcon(std::string_view state) {
    std::lock_guard lock(mutex_);
    Statement select(db_, "SELECT png FROM accessory_icons WHERE state = ?1");
    select.BindText(1, state);
    return OneBlob(select);
}

} // namespace zelvora::web
