// Pixel checks of the painting helpers, the light loader and the panel painters on off-screen canvases.
// With --stress, first paints every panel and helper thousands of times on a real window while Wine's GDI
// handle table is full but for fewer free handles than rounds, so that one object leaked per painting
// exhausts it; the free handles are counted before and after, and the pixel checks then run again.
#include "app/led_container.h"
#include "app/panel_layout.h"
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"
#include "platform/win32/draw_helpers.h"
#include "app/win32/led_bitmaps.h"
#include "app/win32/light_layer.h"
#include "app/win32/panel_painters.h"
#include "pixel_canvas.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Fail(int line, const char* what) {
    std::printf("panels_test.cpp:%d: FAILED: %s\n", line, what);
    ++failures;
}

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            Fail(__LINE__, #condition);                                                                      \
        }                                                                                                    \
    } while (0)

#define CHECK_COLOUR(actual, expected, what)                                                                 \
    do {                                                                                                     \
        const unsigned long got = (actual), want = (expected);                                               \
        if (got != want) {                                                                                   \
            char text[160];                                                                                  \
            std::snprintf(text, sizeof text, "%s: colour %06lx, expected %06lx", what, got, want);           \
            Fail(__LINE__, text);                                                                            \
        }                                                                                                    \
    } while (0)

constexpr COLORREF kBackground = RGB(30, 60, 90);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kPanel = RGB(40, 40, 40);
constexpr COLORREF kNumber = RGB(0, 120, 240);
constexpr int kLedSize = 12;
// Easily told apart, indexed by light colour.
constexpr COLORREF kLedColours[] = {kBlack,           RGB(200, 0, 0), RGB(100, 0, 0), RGB(0, 200, 0),
                                    RGB(200, 200, 0), RGB(0, 0, 200), RGB(0, 0, 100)};

// A screen-compatible bitmap of one colour whose top-left pixel is pure black.
HBITMAP MakeSolidBitmap(int width, int height, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SetPixel(dc, 0, 0, kBlack);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void InstallTestImages(WindowHandles& handles) {
    for (int colour = kLedRed; colour <= kLedDarkBlue; ++colour) {
        handles.ledBitmaps[colour] = MakeSolidBitmap(kLedSize, kLedSize, kLedColours[colour]);
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        handles.channelImages[channel] =
            channel == 0 ? MakeSolidBitmap(180, 110, kPanel) : MakeSolidBitmap(30, 30, kNumber);
    }
}

void ReleaseTestImages(WindowHandles& handles) {
    for (HBITMAP__*& bitmap : handles.ledBitmaps) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    for (HBITMAP__*& bitmap : handles.channelImages) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

void CheckLight(const Canvas& canvas, Point at, int colour, const char* what) {
    CHECK_COLOUR(canvas.Pixel(at.x + kLedSize / 2, at.y + kLedSize / 2),
                 IsDrawableLed(colour) ? kLedColours[colour] : kFill, what);
    CHECK_COLOUR(canvas.Pixel(at.x, at.y), kFill, what); // the black corner is transparent
}

void TestDrawLabel() {
    Canvas canvas;
    DrawLabel(canvas.dc(), "TST", 100, 100, kBackground);
    CHECK_COLOUR(canvas.Pixel(100, 100), kBackground, "label background at its top-left corner");
    CHECK_COLOUR(canvas.Pixel(99, 100), kFill, "left of the label");
    CHECK_COLOUR(canvas.Pixel(100, 99), kFill, "above the label");
    CHECK(canvas.Count(100, 100, 30, 14, kWhite, true) > 5);
    CHECK(canvas.CountOtherThan(100, 114, 30, 10, kFill) == 0); // 14 pixels high

    Canvas untouched;
    DrawLabel(untouched.dc(), nullptr, 100, 100, kBackground);
    DrawLabel(nullptr, "TST", 100, 100, kBackground);
    CHECK(untouched.CountOtherThan(0, 0, kWidth, kHeight, kFill) == 0);
}

void TestDrawUtf8Text() {
    const COLORREF colour = RGB(250, 200, 10);
    Canvas fromUtf8, reference, withoutAccent;
    DrawUtf8Text(fromUtf8.dc(), "Ren\xC3\xA9", 50, 60, colour);
    DrawUtf8Text(withoutAccent.dc(), "Ren", 50, 60, colour);
    HFONT font = CreateBoldArial(20);
    HGDIOBJ old = SelectObject(reference.dc(), font);
    SetBkMode(reference.dc(), TRANSPARENT);
    SetTextColor(reference.dc(), colour);
    TextOutW(reference.dc(), 50, 60, L"Ren\u00E9", 4);
    SelectObject(reference.dc(), old);
    DeleteObject(font);

    CHECK(fromUtf8.CountOtherThan(50, 60, 80, 24, kFill) > 20);
    CHECK(fromUtf8.SameAs(reference));
    CHECK(!fromUtf8.SameAs(withoutAccent)); // the e acute is drawn
    CHECK_COLOUR(fromUtf8.Pixel(50, 60), kFill, "transparent background");

    Canvas untouched;
    DrawUtf8Text(untouched.dc(), nullptr, 50, 60, colour);
    DrawUtf8Text(untouched.dc(), "", 50, 60, colour);
    DrawUtf8Text(nullptr, "Ren", 50, 60, colour);
    CHECK(untouched.CountOtherThan(0, 0, kWidth, kHeight, kFill) == 0);
}

void TestBitmapHelpers() {
    const COLORREF green = RGB(0, 180, 0);
    HBITMAP bitmap = MakeSolidBitmap(8, 6, green);
    Canvas canvas;
    DrawTransparentBitmap(canvas.dc(), bitmap, 20, 30);
    CHECK_COLOUR(canvas.Pixel(20, 30), kFill, "black pixel stays transparent");
    CHECK_COLOUR(canvas.Pixel(27, 35), green, "bottom-right pixel");
    CHECK_COLOUR(canvas.Pixel(28, 35), kFill, "right of its own width");
    CHECK_COLOUR(canvas.Pixel(27, 36), kFill, "below its own height");

    DrawBitmap(canvas.dc(), bitmap, 120, 30);
    CHECK_COLOUR(canvas.Pixel(120, 30), kBlack, "opaque copy keeps black");
    CHECK_COLOUR(canvas.Pixel(127, 35), green, "opaque copy's bottom-right pixel");
    CHECK_COLOUR(canvas.Pixel(128, 35), kFill, "right of the copy");

    DrawStretchedBitmap(canvas.dc(), bitmap, 50, 50, 40, 20);
    CHECK_COLOUR(canvas.Pixel(89, 69), green, "stretched to the bottom-right corner");
    CHECK_COLOUR(canvas.Pixel(90, 60), kFill, "right of the requested width");
    CHECK_COLOUR(canvas.Pixel(70, 70), kFill, "below the requested height");
    CHECK(canvas.Pixel(50, 50) != kFill); // opaque: even the black corner is copied

    Canvas untouched;
    DrawTransparentBitmap(untouched.dc(), nullptr, 20, 30);
    DrawTransparentBitmap(nullptr, bitmap, 20, 30);
    DrawBitmap(untouched.dc(), nullptr, 20, 30);
    DrawBitmap(nullptr, bitmap, 20, 30);
    DrawStretchedBitmap(untouched.dc(), nullptr, 50, 50, 40, 20);
    DrawStretchedBitmap(nullptr, bitmap, 50, 50, 40, 20);
    CHECK(untouched.CountOtherThan(0, 0, kWidth, kHeight, kFill) == 0);
    DeleteObject(bitmap);
}

// Stripes of two colours, so that a light drawn over them shows what it leaves uncovered.
void FillStriped(const Canvas& canvas) {
    HBRUSH brush = CreateSolidBrush(kNumber);
    for (int y = 0; y < kHeight; y += 3) {
        RECT stripe{0, y, kWidth, y + 1};
        FillRect(canvas.dc(), &stripe, brush);
    }
    DeleteObject(brush);
}

// Lights of different sizes, each with its own scatter of transparent black pixels, overlapping and with
// undrawable colours among them: composed, they leave the same pixels as one transparent blit per light,
// whether the second picture is drawn whole or only where it changed.
void TestLightLayer() {
    WindowHandles handles;
    for (int colour = kLedRed; colour <= kLedDarkBlue; ++colour) {
        HBITMAP bitmap = MakeSolidBitmap(8 + colour, 14 - colour, kLedColours[colour]);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (int y = 0; y < 14 - colour; ++y) {
            for (int x = 0; x < 8 + colour; ++x) {
                if ((x * colour + y) % 4 == 0) {
                    SetPixel(dc, x, y, kBlack);
                }
            }
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        handles.ledBitmaps[colour] = bitmap;
    }
    Canvas composed, changes, reference;
    FillStriped(composed);
    FillStriped(changes);
    FillStriped(reference);
    LightLayer layer, changesLayer;
    for (int round = 0; round < 2; ++round) { // the second picture goes over the first
        layer.Clear();
        changesLayer.Clear();
        for (int i = 0; i < 20; ++i) {
            const int colour = i < 12 ? (i + round) % 8 : i % 8; // 0 and 7 are not drawn; the last ones stay
            const Point at{200 + 6 * i, 300 + (i % 3) * 5};
            layer.Add(colour, at);
            changesLayer.Add(colour, at);
            DrawTransparentBitmap(reference.dc(), LedBitmap(handles, colour), at.x, at.y);
        }
        layer.DrawOn(composed.dc(), handles);
        CHECK(composed.SameAs(reference));
        if (round == 0) {
            changesLayer.DrawOn(changes.dc(), handles);
        } else {
            changesLayer.DrawChangesOn(changes.dc(), handles);
        }
        CHECK(changes.SameAs(reference));
    }
    ReleaseTestImages(handles);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A light container whose entries are bottom-up 24-bit BMPs of one colour with a black top-left pixel.
std::vector<std::uint8_t> MakeContainer(const std::vector<LedBitmapName>& lights) {
    constexpr std::size_t kStride = (kLedSize * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> file(4 + 40 * lights.size(), 0);
    PutU32(file, 0, static_cast<std::uint32_t>(lights.size()));
    for (std::size_t k = 0; k < lights.size(); ++k) {
        std::vector<std::uint8_t> bmp(54 + kStride * kLedSize, 0);
        bmp[0] = 'B';
        bmp[1] = 'M';
        PutU32(bmp, 10, 54);
        PutU32(bmp, 14, 40);
        PutU32(bmp, 18, kLedSize);
        PutU32(bmp, 22, kLedSize);
        bmp[26] = 1;
        bmp[28] = 24;
        const COLORREF colour = kLedColours[lights[k].colour];
        for (std::size_t row = 0; row < kLedSize; ++row) {
            for (std::size_t column = 0; column < kLedSize; ++column) {
                const bool topLeft = row == kLedSize - 1 && column == 0; // the last stored row is the top
                std::uint8_t* pixel = &bmp[54 + kStride * row + 3 * column];
                pixel[0] = topLeft ? 0 : GetBValue(colour);
                pixel[1] = topLeft ? 0 : GetGValue(colour);
                pixel[2] = topLeft ? 0 : GetRValue(colour);
            }
        }
        std::memcpy(&file[4 + 40 * k], lights[k].entryName, std::strlen(lights[k].entryName));
        PutU32(file, 4 + 40 * k + 32, static_cast<std::uint32_t>(file.size()));
        PutU32(file, 4 + 40 * k + 36, static_cast<std::uint32_t>(bmp.size()));
        file.insert(file.end(), bmp.begin(), bmp.end());
    }
    return file;
}

// Loads the lights from the given container (none: no file) in a fresh working directory.
int LoadAndCount(MainThreadState& mainThread, IndicatorLights& lights,
                 const std::vector<std::uint8_t>* container) {
    static int round = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"zelvora_leds_" + std::to_wstring(GetCurrentProcessId()) +
                             L"_" + std::to_wstring(++round);
    CreateDirectoryW(dir.c_str(), nullptr);
    SetCurrentDirectoryW(dir.c_str());
    if (container != nullptr) {
        std::FILE* file = std::fopen(kLedContainerFile, "wb");
        std::fwrite(container->data(), 1, container->size(), file);
        std::fclose(file);
    }
    LoadLedBitmaps(mainThread, lights);
    DeleteFileW(L"mini_leds.bmf");
    SetCurrentDirectoryW(temp);
    RemoveDirectoryW(dir.c_str());
    int loaded = 0;
    for (int colour = kLedRed; colour <= kLedDarkBlue; ++colour) {
        loaded += LedBitmap(mainThread.handles, colour) != nullptr ? 1 : 0;
    }
    return loaded;
}

void TestLoadLedBitmaps() {
    auto mainThread = std::make_unique<MainThreadState>();
    IndicatorLights lights;
    const WindowHandles& handles = mainThread->handles;
    const std::vector<LedBitmapName> six(std::begin(kLedBitmapLoadOrder), std::end(kLedBitmapLoadOrder));
    const auto valid = MakeContainer(six);
    CHECK(LoadAndCount(*mainThread, lights, &valid) == 6);
    Canvas canvas;
    for (int colour = kLedRed; colour <= kLedDarkBlue; ++colour) {
        BITMAP info{};
        CHECK(GetObjectW(LedBitmap(handles, colour), sizeof info, &info) != 0 && info.bmWidth == kLedSize &&
              info.bmHeight == kLedSize);
        const Point at{20 * colour, 10};
        DrawTransparentBitmap(canvas.dc(), LedBitmap(handles, colour), at.x, at.y);
        CheckLight(canvas, at, colour, "loaded light");
    }
    CHECK(LedBitmap(handles, 0) == nullptr && LedBitmap(handles, 7) == nullptr);
    CHECK(mainThread->zones.network == (Rect{375, 335, 480, 440}));

    auto five = six;
    five.pop_back();
    const auto withoutLast = MakeContainer(five);
    CHECK(LoadAndCount(*mainThread, lights, &withoutLast) == 5 &&
          LedBitmap(handles, six.back().colour) == nullptr);
    auto twentyOne = six;
    twentyOne.resize(21, six.front());
    const auto overfull = MakeContainer(twentyOne);
    CHECK(LoadAndCount(*mainThread, lights, &overfull) == 0);
    CHECK(LoadAndCount(*mainThread, lights, &valid) == 6);
    lights.tst = kLedRed;
    CHECK(LoadAndCount(*mainThread, lights, nullptr) == 0);
    CHECK(lights.tst == kLedBlue); // start states are set even without lights
}

void TestStatusPanel(const WindowHandles& handles) {
    IndicatorLights shown;
    shown.tst = kLedGreen;
    shown.web = kLedYellow;
    shown.txRx = kLedRed;
    shown.udp = LedColour{}; // undrawn
    shown.svc = kLedDarkRed;
    shown.tcp = kLedDarkBlue;
    // Which lights a level turns on is the native test's; here the painter shows what it decides.
    const struct {
        int level;
        bool inFront;
    } cases[] = {{3, true}, {99, false}};
    for (const auto& c : cases) {
        Canvas canvas;
        PaintStatusLights(canvas.dc(), shown, c.level, handles, c.inFront, false);
        PaintStatusLabels(canvas.dc(), kBackground);
        const std::array<int, kErrorLevelLightCount> lights = ErrorLevelLights(c.level);
        for (std::size_t i = 0; i < kErrorLevelLightPositions.size(); ++i) {
            CheckLight(canvas, kErrorLevelLightPositions[i], lights[i], "error-level light");
        }
        for (const Point at : kForegroundLightPositions) {
            CheckLight(canvas, at, c.inFront ? kLedGreen : kLedRed, "foreground light");
        }
        for (const StatusLight& light : kStatusLights) {
            CheckLight(canvas, light.lightPosition, (shown.*light.state).load(), light.label);
            CHECK_COLOUR(canvas.Pixel(light.labelPosition.x, light.labelPosition.y), kBackground,
                         light.label);
        }
        CHECK_COLOUR(canvas.Pixel(kErrorLevelLabelPosition.x, kErrorLevelLabelPosition.y), kBackground,
                     "ERROR");
    }
    // Drawing only what changed leaves what drawing every light again would: a light that blinks, one that
    // appears, one that goes, the level and the foreground lights.
    Canvas painted, reference;
    FillStriped(painted);
    FillStriped(reference);
    IndicatorLights later;
    later.tst = LedColour{};
    later.web = kLedBlue;
    later.txRx = kLedRed;
    later.udp = kLedGreen;
    later.svc = kLedDarkRed;
    later.tcp = kLedDarkBlue;
    PaintStatusLights(reference.dc(), shown, 3, handles, true, false);
    PaintStatusLights(reference.dc(), later, 1, handles, false, false);
    PaintStatusLights(painted.dc(), shown, 3, handles, true, false);
    PaintStatusLights(painted.dc(), later, 1, handles, false, true);
    CHECK(painted.SameAs(reference));
}

// The ring as the lights drawn one by one and the label over them, the first time and after some lights
// change (one of them to no light at all), when the painters draw the whole ring and then its changes alone.
void TestNetworkRing(const WindowHandles& handles) {
    IndicatorLights lights;
    Canvas painted, reference;
    FillStriped(painted);
    FillStriped(reference);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < kNetworkRingLights; ++i) {
            // 0 leaves the light undrawn
            lights.ring[i] = static_cast<LedColour>(round == 1 && i >= 10 ? (i + 3) % 7 : i % 7);
        }
        for (int i = 0; i < kNetworkRingLights; ++i) {
            const Point at = RingLightPosition(i);
            DrawTransparentBitmap(reference.dc(), LedBitmap(handles, lights.ring[i]), at.x, at.y);
        }
        DrawLabel(reference.dc(), "NETWORK", kNetworkLabelPosition.x, kNetworkLabelPosition.y, kBackground);
        if (round == 0) {
            PaintNetworkRing(painted.dc(), lights, handles, kBackground);
        } else {
            PaintNetworkRingChanges(painted.dc(), lights, handles);
        }
        CHECK(painted.SameAs(reference));
    }
    CHECK_COLOUR(painted.Pixel(kNetworkLabelPosition.x, kNetworkLabelPosition.y), kBackground,
                 "NETWORK label");
}

void TestChannelPanel(const WindowHandles& handles) {
    auto shared = std::make_unique<SharedState>();
    const struct {
        int port;
        COLORREF numberArea;
    } cases[] = {{30000, kPanel}, {30005, kNumber}, {30010, kNumber}};
    for (const auto& c : cases) {
        Canvas canvas;
        shared->channelPort = c.port;
        shared->channelMembers.ForgetCurrentChannelCount();
        PaintChannelPanel(canvas.dc(), *shared, handles, kBackground);
        const Point number = kChannelImagePosition;
        CHECK_COLOUR(canvas.Pixel(number.x + 15, number.y + 15), c.numberArea, "channel number bitmap");
        CHECK_COLOUR(canvas.Pixel(number.x, number.y), kPanel, "channel number's black is transparent");
        CHECK_COLOUR(canvas.Pixel(10, 80), RGB(255, 0, 0), "frame top-left");
        CHECK_COLOUR(canvas.Pixel(189, 189), RGB(255, 0, 0), "frame bottom-right");
        CHECK_COLOUR(canvas.Pixel(190, 150), kFill, "right of the frame");
        CHECK(canvas.CountOtherThan(20, 85, 160, 20, kPanel) > 20); // the channel name
        CHECK_COLOUR(canvas.Pixel(kChannelLabelPosition.x, kChannelLabelPosition.y), kBackground, "CHANNEL");

        CHECK_COLOUR(canvas.Pixel(kMemberCountPosition.x, kMemberCountPosition.y), kBackground,
                     "member count");
        CHECK(canvas.Count(kMemberCountPosition.x, kMemberCountPosition.y, 14, 14, kWhite, true) > 3);
    }
}

void TestHelpBannerAndTitle() {
    auto mainThread = std::make_unique<MainThreadState>();
    std::strcpy(mainThread->helpText, "R\xC3\xA9glages");
    Canvas banner;
    PaintHelpBanner(banner.dc(), *mainThread, kBackground);
    CHECK_COLOUR(banner.Pixel(8, 43), kYellow, "banner frame top-left");
    CHECK_COLOUR(banner.Pixel(541, 66), kYellow, "banner frame bottom-right");
    CHECK_COLOUR(banner.Pixel(9, 44), kFill, "between frame and banner");
    CHECK_COLOUR(banner.Pixel(539, 64), kBlack, "banner filled black");
    CHECK(banner.Count(200, 45, 150, 20, kBackground, true) > 20); // the text's opaque background
    CHECK(banner.CountOtherThan(200, 45, 150, 20, kBlack) > 50);

    Account().backgroundColour = kBackground;
    Canvas title;
    DrawTitle(title.dc());
    CHECK(title.Count(125, 15, 300, 20, kYellow, true) > 50);
    CHECK(title.CountOtherThan(0, 0, kWidth, 15, kFill) == 0);
    CHECK(title.CountOtherThan(0, 35, kWidth, 30, kFill) == 0); // clear of the help banner below
    CHECK(title.CountOtherThan(0, 15, 125, 20, kFill) == 0);
}

void RunPixelChecks() {
    TestDrawLabel();
    TestDrawUtf8Text();
    TestBitmapHelpers();
    TestLightLayer();
    TestLoadLedBitmaps();
    WindowHandles handles;
    InstallTestImages(handles);
    TestStatusPanel(handles);
    TestNetworkRing(handles);
    TestChannelPanel(handles);
    TestHelpBannerAndTitle();
    ReleaseTestImages(handles);
}

// Every painter and helper once, on the main window, the way the timers and the other windows use them.
void PaintEverything(HWND window, HBITMAP picture, int round) {
    Shared().lights.ring[round % kNetworkRingLights] = static_cast<LedColour>(1 + round % 6);
    NoteMainWindowExposed(); // as after a WM_PAINT: every painter draws, unchanged inputs or not
    ChannelPanelTimerProc(nullptr, WM_TIMER, 0, 0);
    NetworkRingTimerProc(nullptr, WM_TIMER, 0, 0);
    HelpBannerTimerProc(nullptr, WM_TIMER, 0, 0);
    StatusPanelTimerProc(nullptr, WM_TIMER, 0, 0);
    HDC dc = GetDC(window);
    DrawTitle(dc);
    DrawLabel(dc, "Version ", 430, 605, kBackground);
    DrawUtf8Text(dc, "Ren\xC3\xA9", 20, 500, kWhite);
    DrawTransparentBitmap(dc, picture, 20, 530);
    DrawStretchedBitmap(dc, picture, 60, 530, 32, 32);
    ReleaseDC(window, dc);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

// Creates brushes until the table is full (at most `limit`), then deletes them all; returns how many.
int FillHandleTable(std::vector<HBRUSH>& brushes, std::size_t limit) {
    HBRUSH brush;
    while (brushes.size() < limit && (brush = CreateSolidBrush(RGB(0, 0, 1))) != nullptr) {
        brushes.push_back(brush);
    }
    return static_cast<int>(brushes.size());
}

void DeleteBrushes(std::vector<HBRUSH>& brushes, std::size_t keep) {
    while (brushes.size() > keep) {
        DeleteObject(brushes.back());
        brushes.pop_back();
    }
}

void RunStress(int rounds) {
    constexpr int kHeadroom = 1000; // free handles during the run, fewer than the rounds
    constexpr int kSlack = 16;      // objects the system may hold for itself between rounds
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"PanelsTestClass";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"ZELVORA", WS_POPUP | WS_VISIBLE, 0, 0,
                                  kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    CHECK(window != nullptr);
    MainThreadState& mainThread = MainThread();
    mainThread.handles.mainWindow = window;
    mainThread.panelsReady = true;
    Shared().channelPort = 30007;
    Voice().errorLevel = 3;
    Account().backgroundColour = kBackground;
    std::strcpy(mainThread.helpText, "Cliquez ici pour d\xC3\xA9placer la fen\xC3\xAAtre Zelvora");
    InstallTestImages(mainThread.handles);
    HBITMAP picture = MakeSolidBitmap(16, 16, RGB(0, 200, 100));
    PaintEverything(window, picture, 0); // lets the system make what it caches on first use

    std::vector<HBRUSH> reserve;
    constexpr std::size_t kNoLimit = 1u << 20;
    const int tableRoom = FillHandleTable(reserve, kNoLimit);
    CHECK(tableRoom < static_cast<int>(kNoLimit));
    DeleteBrushes(reserve, reserve.size() - kHeadroom);
    std::vector<HBRUSH> probes;
    const int freeBefore = FillHandleTable(probes, kNoLimit);
    DeleteBrushes(probes, 0);
    for (int round = 0; round < rounds; ++round) {
        PaintEverything(window, picture, round);
    }
    const int freeAfter = FillHandleTable(probes, kNoLimit);
    DeleteBrushes(probes, 0);
    std::printf("%d free GDI handles at start; %d painting rounds with %d free before, %d after\n", tableRoom,
                rounds, freeBefore, freeAfter);
    CHECK(rounds > freeBefore);
    CHECK(freeAfter >= freeBefore - kSlack);
    RunPixelChecks(); // while the table is nearly full: leaked objects would starve them
    DeleteBrushes(reserve, 0);
    DeleteObject(picture);
    ReleaseTestImages(mainThread.handles);
    DestroyWindow(window);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--stress") == 0) {
        // Half as many rounds again as free handles: one object leaked per round runs out before the end.
        RunStress(argc > 2 ? std::atoi(argv[2]) : 1500);
    } else {
        RunPixelChecks();
    }
    std::printf("panels_test: %d failure(s)\n", failures);
    return failures;
}
