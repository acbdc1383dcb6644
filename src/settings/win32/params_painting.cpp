#include "settings/win32/params_painting.h"

#include "platform/win32/draw_helpers.h"
#include "audio/win32/endpoint_description.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/wide_text.h"
#include "audio/audio_state.h"
#include "audio/win32/audio_wiring.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "settings/colour_record.h"
#include "settings/input_device_line.h"
#include "settings/params_zones.h"
#include "session/user_texts.h"

#include <shellapi.h>

#include <array>
#include <string>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr int kIconLeft = 50;
constexpr int kIconSide = 64;
constexpr int kInputIconTop = 30;
constexpr int kOutputIconTop = 160;

// Endpoint names are UTF-8 and may hold any character, so they are drawn wide in the labels' style.
void DrawDeviceName(HDC dc, const std::string& name, int x, int y) {
    const COLORREF background = kRed;
    const ScopedTextStyle style(dc, 14, kWhite, &background);
    const std::wstring wide = WideFromUtf8(name.c_str());
    if (style.Ready() && !wide.empty()) {
        TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    }
}

// Endpoint icon locations name system files through variables such as %windir%.
std::wstring ExpandedPath(const std::string& location) {
    const std::wstring raw = WideFromUtf8(location.c_str());
    wchar_t expanded[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsW(raw.c_str(), expanded, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::wstring(expanded) : raw;
}

void DrawEndpointIcon(HDC dc, const EndpointDescription& endpoint, int top) {
    if (endpoint.iconLocation.empty()) {
        return;
    }
    HINSTANCE instance = Web().instance;
    HICON icon = ExtractIconW(instance, ExpandedPath(endpoint.iconLocation).c_str(),
                              static_cast<UINT>(endpoint.iconIndex));
    // 1 means the file holds no icons at all.
    if (icon == nullptr || icon == reinterpret_cast<HICON>(1)) {
        return;
    }
    const RECT square{kIconLeft, top, kIconLeft + kIconSide, top + kIconSide};
    FillRect(dc, &square, GetSysColorBrush(COLOR_MENU));
    DrawIconEx(dc, kIconLeft, top, icon, kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

EndpointDescription SelectedInput(const AudioState& audio, int selected) {
    EndpointDescription input;
    if (selected == kDefaultInputDevice) {
        FindDefaultCaptureIndex(input);
        return input;
    }
    const int position = SelectedEndpointPosition(audio.inputDevices, selected);
    if (position != kNoEndpoint) {
        DescribeCaptureEndpoint(position, input);
    }
    return input;
}

// The devices as last described, kept from paint to paint: each description walks the system's endpoints, and
// the box of a missing default device must neither come back at every exposure nor stack up while it shows.
struct DescribedDevices {
    bool current = false;
    int selection = kDefaultInputDevice;
    EndpointDescription input;
    EndpointDescription output;
};

DescribedDevices gDevices;

const DescribedDevices& DevicesFor(const AudioState& audio, int selected) {
    if (!gDevices.current || gDevices.selection != selected) {
        const bool outputKnown = gDevices.current;
        // Marked first: a paint that arrives while the device-index box is up draws what is known so far.
        gDevices.current = true;
        gDevices.selection = selected;
        gDevices.input = SelectedInput(audio, selected);
        if (!outputKnown) {
            DescribeDefaultOutput(gDevices.output);
        }
    }
    return gDevices;
}

void PaintDevices(HDC dc, const AudioState& audio) {
    const int selected = audio.selectedInputDevice.load(std::memory_order_relaxed);
    const DescribedDevices& devices = DevicesFor(audio, selected);
    std::array<char, kInputLineBytes> line{};
    FormatInputDeviceLine(line, selected);
    DrawLabel(dc, line.data(), 50, 10, kRed);
    DrawEndpointIcon(dc, devices.input, kInputIconTop);
    DrawDeviceName(dc, devices.input.name, 20, 100);

    DrawLabel(dc, kOutputDeviceLabel, 50, 140, kRed);
    DrawEndpointIcon(dc, devices.output, kOutputIconTop);
    DrawDeviceName(dc, devices.output.name, 20, 230);
}

void PaintAccount(HDC dc, const OwnDetails& details) {
    DrawUtf8Text(dc, details.firstName, 10, 260, kWhite);
    DrawUtf8Text(dc, "City: ", 10, 280, kWhite);
    DrawUtf8Text(dc, details.town, 50, 280, kWhite);
    DrawUtf8Text(dc, details.phrase, 10, 300, kYellow);
    DrawUtf8Text(dc, "-", 10, 320, kWhite);
    DrawUtf8Text(dc, details.email, 10, 340, kYellow);
    DrawUtf8Text(dc, "User: ", 10, 360, kYellow);
    DrawUtf8Text(dc, details.folder, 55, 360, kYellow);
    DrawUtf8Text(dc, "Color: ", 10, 380, kYellow);
}

void PaintColour(HDC dc, std::uint32_t colour) {
    const ScopedBrush brush(CreateSolidBrush(colour));
    const RECT swatch{kParamsColourZone.left, kParamsColourZone.top, kParamsColourZone.right,
                      kParamsColourZone.bottom};
    if (brush) {
        FillRect(dc, &swatch, brush.get());
    }
    std::array<char, kColourTextBytes> text{};
    FormatColourText(text, colour);
    DrawUtf8Text(dc, text.data(), 80, 380, kYellow);
}

} // namespace

void ForgetDescribedDevices() {
    gDevices = DescribedDevices{};
}

void PaintParamsWindow(HWND window, bool ready) {
    const ScopedPaint paint(window);
    HDC dc = paint.get();
    if (!ready || dc == nullptr) {
        return;
    }
    PaintDevices(dc, *AudioWindows().audio);
    const AccountState& account = *Web().account;
    PaintAccount(dc, account.ownDetails);
    PaintColour(dc, account.backgroundColour);
}
