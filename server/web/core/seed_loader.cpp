#include "seed_loader.h"

#include "image_kind.h"
#include "upload_records.h"

#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

namespace zelvora::web {
namespace {

// Seed pictures and icons are small; a larger file is a mistake, not something to serve.
constexpr std::size_t kMaxSeedFileBytes = 1 << 20;
constexpr std::size_t kMaxSeedMembers = 1000;
constexpr std::array<std::string_view, 3> kIconStates = {"black", "green", "red"};

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes(kMaxSeedFileBytes + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

struct SeedMember {
    Account account;
    std::string picture;
};

// One members.tsv line, or the reason it is refused.
std::string ParseMember(std::string_view line, SeedMember& member) {
    const auto fields = SplitTabs(line);
    if (fields.size() != 2 + MemberDetails::kCount) {
        return "expected 8 tab-separated fields";
    }
    unsigned number = 0;
    const auto [end, error] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), number);
    if (error != std::errc() || end != fields[0].data() + fields[0].size() || number < 1 ||
        number >= kFirstRegisteredAccount) {
        return "the account must be a number from 1 to 999";
    }
    member.account.number = static_cast<std::uint16_t>(number);
    for (std::size_t i = 0; i < MemberDetails::kCount; ++i) {
        if (!IsValidMemberText(fields[i + 1], MemberDetails::kCapacities[i])) {
            return std::string(MemberDetails::kTags[i]) +
                   " is too long or holds markup or control characters";
        }
        member.account.details.texts[i] = fields[i + 1];
    }
    const std::string_view colour = fields[7];
    if (colour != "-") {
        std::uint32_t value = 0;
        const auto [colourEnd, colourError] =
            std::from_chars(colour.data(), colour.data() + colour.size(), value, 16);
        if (colour.size() != 6 || colourError != std::errc() || colourEnd != colour.data() + colour.size()) {
            return "the background must be six hexadecimal digits or -";
        }
        member.account.background = value;
    }
    return {};
}

std::string ReadPng(const std::string& path, std::string& png) {
    auto bytes = ReadFile(path);
    if (!bytes) {
        return "cannot read " + path;
    }
    if (bytes->size() > kMaxSeedFileBytes || SniffImage(*bytes) != ImageKind::Png) {
        return path + " is not a PNG picture of at most 1 MiB";
    }
    png = std::move(*bytes);
    return {};
}

} // namespace

std::string LoadSeed(AccountStore& store, const std::string& folder) {
    const auto table = ReadFile(folder + "/members.tsv");
    if (!table) {
        return "cannot read " + folder + "/members.tsv";
    }
    std::vector<SeedMember> members;
    std::istringstream lines(*table);
    int lineNumber = 0;
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (members.size() == kMaxSeedMembers) {
            return "more than 1000 members";
        }
        SeedMember member;
        if (const std::string why = ParseMember(line, member); !why.empty()) {
            return "members.tsv line " + std::to_string(lineNumber) + ": " + why;
        }
        const std::string picture = folder + "/pictures/" + std::to_string(member.account.number) + ".png";
        if (const std::string why = ReadPng(picture, member.picture); !why.empty()) {
            return why;
        }
        members.push_back(std::move(member));
    }
    // Optional shared images: shared/<channel>.jpg or .png.
    struct SharedImage {
        int channel;
        std::string name;
        std::string bytes;
    };
    std::vector<SharedImage> sharedImages;
    for (int channel = 0; channel <= kLastChannel; ++channel) {
        for (const char* extension : {".jpg", ".png"}) {
            const std::string path = folder + "/shared/" + std::to_string(channel) + extension;
            auto bytes = ReadFile(path);
            if (!bytes) {
                continue;
            }
            if (bytes->size() > kMaxSeedFileBytes || SniffImage(*bytes) == ImageKind::None) {
                return path + " is not a picture of at most 1 MiB";
            }
            sharedImages.push_back({channel, std::to_string(channel) + extension, std::move(*bytes)});
        }
    }
    std::array<std::string, kIconStates.size()> icons;
    for (std::size_t i = 0; i < kIconStates.size(); ++i) {
        if (const std::string why =
                ReadPng(folder + "/usb_" + std::string(kIconStates[i]) + ".png", icons[i]);
            !why.empty()) {
            return why;
        }
    }
    try {
        for (const SeedMember& member : members) {
            store.PutAccount(member.account);
            store.SetPicture(member.account.number, member.picture);
        }
        // A channel's image uploaded by someone outlives restarts; the seed only fills empty channels.
        for (const SharedImage& image : sharedImages) {
            if (!store.SharedImage(image.channel)) {
                store.SetSharedImage(image.channel, image.bytes, image.name);
            }
        }
        for (std::size_t i = 0; i < kIconStates.size(); ++i) {
            store.SetAccessoryIcon(kIconStates[i], icons[i]);
        }
    } catch (const StoreError& error) {
        return std::string("storage failure: ") + error.what();
    }
    return {};
}

} // namespace zelvora::web
