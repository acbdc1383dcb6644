#include "service_routes.h"

#include "image_kind.h"
#include "upload_records.h"

#include <charconv>
#include <optional>

namespace zelvora::web {
namespace {

constexpr std::size_t kPcIdDigits = 16;

WebResponse Status(int status, std::string_view why) {
    return {status, "text/plain; charset=utf-8", std::string(why), {}};
}
WebResponse BadRequest(std::string_view why) {
    return Status(400, why);
}
WebResponse NotFound(std::string_view why) {
    return Status(404, why);
}

WebResponse Image(std::string bytes) {
    const ImageKind kind = SniffImage(bytes);
    return {200, std::string(ContentTypeOf(kind)), std::move(bytes), {}};
}

bool AllDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A decimal number as the client writes it: digits only, no leading zero, within [low, high].
std::optional<int> ParseNumber(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 9 || !AllDigits(text) || (text.size() > 1 && text[0] == '0')) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

std::optional<std::uint16_t> ParseAccount(std::string_view text) {
    const auto number = ParseNumber(text, 1, 65535);
    return number ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*number)) : std::nullopt;
}

// The value of a query field given exactly once; nothing when it is missing or repeated.
std::optional<std::string_view> Field(const WebRequest& request, std::string_view name) {
    std::optional<std::string_view> found;
    for (const auto& [key, value] : request.query) {
        if (key == name) {
            if (found) {
                return std::nullopt;
            }
            found = value;
        }
    }
    return found;
}

bool FieldIs(const WebRequest& request, std::string_view name, std::string_view expected) {
    const auto value = Field(request, name);
    return value && *value == expected;
}

WebResponse RegistrationRefused(std::chrono::seconds wait) {
    const std::string seconds = std::to_string(wait.count());
    WebResponse refused = Status(
        429, "too many new PCs registered from this address or in all; try again in " + seconds + " s");
    refused.headers.emplace_back("Retry-After", seconds);
    return refused;
}

WebResponse Identify(AccountStore& store, RegistrationQuota& registrations, const WebRequest& request) {
    const auto pcId = Field(request, "I");
    if (!FieldIs(request, "S", "2") || !pcId || pcId->size() != kPcIdDigits || !AllDigits(*pcId)) {
        return BadRequest("identification needs S=2 and a 16-digit PC identifier I");
    }
    auto account = store.AccountOfPc(*pcId);
    if (!account) {
        if (const auto wait = registrations.Admit(request.source, request.received)) {
            return RegistrationRefused(*wait);
        }
        account = store.Identify(*pcId);
    }
    if (!account) {
        return Status(503, "no account number left");
    }
    return {200, "text/plain; charset=us-ascii", IdentificationReply(*account), {}};
}

WebResponse MemberPicture(AccountStore& store, std::uint16_t account) {
    auto picture = store.Picture(account);
    return picture ? Image(std::move(*picture)) : NotFound("no picture for this account");
}

// "/users/<n>/<document>": the speaker picture, client.xml, params.xml.
WebResponse AccountDocument(AccountStore& store, const WebRequest& request, std::string_view rest) {
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        return NotFound("no such page");
    }
    const std::string_view document = rest.substr(slash + 1);
    if (document != "images.php" && document != "client.xml" && document != "params.xml") {
        return NotFound("no such page");
    }
    const auto number = ParseAccount(rest.substr(0, slash));
    if (!number) {
        return BadRequest("an account is a number from 1 to 65535");
    }
    if (document == "images.php") {
        return FieldIs(request, "N", "2") ? MemberPicture(store, *number)
                                          : BadRequest("the speaker picture is N=2");
    }
    const auto account = store.FindAccount(*number);
    if (!account) {
        return NotFound("no such account");
    }
    if (document == "client.xml") {
        return {200, "text/xml; charset=utf-8", ClientXml(account->details), {}};
    }
    if (!account->background) {
        return NotFound("no parameters for this account");
    }
    return {200, "text/xml; charset=utf-8", ParamsXml(*account->background), {}};
}

WebResponse MemberPictureByQuery(AccountStore& store, const WebRequest& request) {
    const auto number = Field(request, "F");
    const auto account = number ? ParseAccount(*number) : std::nullopt;
    if (!account || !FieldIs(request, "N", "1")) {
        return BadRequest("a member picture is F=<account>&N=1");
    }
    return MemberPicture(store, *account);
}

WebResponse SharedImage(AccountStore& store, const WebRequest& request) {
    const auto number = Field(request, "F");
    const auto channel = number ? ParseNumber(*number, 0, kLastChannel) : std::nullopt;
    if (!channel || !(FieldIs(request, "N", "1") || FieldIs(request, "N", "2"))) {
        return BadRequest("a shared image is F=<channel 0..10>&N=1");
    }
    auto image = store.SharedImage(*channel);
    return image ? Image(std::move(*image)) : NotFound("no image shared on this channel");
}

WebResponse UploadSharedImage(AccountStore& store, const WebRequest& request) {
    const auto upload = ParseSharedImageUpload(request.body);
    if (!upload) {
        return BadRequest("not a shared-image upload record");
    }
    if (SniffImage(upload->image) == ImageKind::None) {
        return BadRequest(
            "the file is not a PNG, JPEG, GIF or BMP picture of at most 32768 pixels a side and "
            "250000000 in all");
    }
    store.SetSharedImage(upload->channel, upload->image, upload->name);
    return Status(200, "OK");
}

WebResponse UploadColour(AccountStore& store, const WebRequest& request) {
    const auto colour = ParseColourUpload(request.body);
    if (!colour) {
        return BadRequest("not a colour record");
    }
    return store.SetBackground(colour->account, colour->colorref) ? Status(200, "OK")
                                                                  : NotFound("no such account");
}

WebResponse AccessoryIcon(AccountStore& store, std::string_view state) {
    auto icon = store.AccessoryIcon(state);
    return icon ? Image(std::move(*icon)) : NotFound("no such icon");
}

WebResponse Route(AccountStore& store, RegistrationQuota& registrations, const WebRequest& request,
                  std::string_view path) {
    constexpr std::string_view kAccountPrefix = "/users/";
    constexpr std::string_view kIconPrefix = "/usb/usb_";
    const bool get = request.method == "GET";
    const bool post = request.method == "POST";
    const auto only = [&](bool allowed, auto&& handler) {
        return allowed ? handler() : Status(405, "method not allowed");
    };
    if (path == "/Rb8Wd3Qy6N.php") {
        return only(get, [&] { return Identify(store, registrations, request); });
    }
    if (path == "/users/images.php") {
        return only(get, [&] { return MemberPictureByQuery(store, request); });
    }
    if (path == "/users/params.php") {
        return only(post, [&] { return UploadColour(store, request); });
    }
    if (path == "/echange/pc_img_share_get.php") {
        return only(get, [&] { return SharedImage(store, request); });
    }
    if (path == "/echange/pc_img_share_post.php") {
        return only(post, [&] { return UploadSharedImage(store, request); });
    }
    if (path == "/usb/usb_black.png" || path == "/usb/usb_green.png" || path == "/usb/usb_red.png") {
        const std::string_view state = path.substr(kIconPrefix.size(), path.size() - kIconPrefix.size() - 4);
        return only(get, [&] { return AccessoryIcon(store, state); });
    }
    if (path.starts_with(kAccountPrefix)) {
        return only(get, [&] { return AccountDocument(store, request, path.substr(kAccountPrefix.size())); });
    }
    return NotFound("no such page");
}

} // namespace

std::string CollapseSlashes(std::string_view path) {
    std::string collapsed;
    collapsed.reserve(path.size());
    for (const char c : path) {
        if (c != '/' || collapsed.empty() || collapsed.back() != '/') {
            collapsed += c;
        }
    }
    return collapsed;
}

WebResponse HandleWebRequest(AccountStore& store, RegistrationQuota& registrations,
                             const WebRequest& request) {
    try {
        return Route(store, registrations, request, CollapseSlashes(request.path));
    } catch (const StoreError&) {
        return Status(500, "storage failure");
    }
}

} // namespace zelvora::web
