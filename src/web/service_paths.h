#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Request paths of the web service hold at most this many characters, terminator included.
inline constexpr std::size_t kServicePathCapacity = 200;

// Bases of the picture, shared-image and accessory icon paths.
inline constexpr char kUsersBase[] = "/users/";
inline constexpr char kExchangeBase[] = "/echange/";
inline constexpr char kUsbBase[] = "/usb/";

// The path of a request on `base`: a member picture (kind 1 on "/users/"), a shared image of channel `number`
// or its upload (kinds 1, 2 and 3 on "/echange/"), an accessory icon (kinds 1, 2 and 3 on "/usb/", black,
// green and red). Any other base is kept as it is; the doubled slashes are the service's own.
void BuildServicePath(std::span<char> path, int number, int kind, const char* base);

// What `FetchAccountData` fetches.
enum class AccountFetchKind {
    SpeakerPicture,
    SpeakerDetails,
    OwnDetails,
    Identification,
    DisplayParameters,
};

// The path of an account fetch: "/users/<number>/..." for every kind but the identification, whose query
// carries the PC identifier and the version text.
void BuildAccountPath(std::span<char> path, std::uint32_t number, AccountFetchKind kind,
                      const char* pcIdentifier, const char* versionText);
