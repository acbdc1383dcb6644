// The level meters, the bars and the knobs painted on an off-screen canvas, then the input device chooser
// on the capture devices of the test's sound server.
#include "check.h"
#include "pixel_canvas.h"

#include "app/main_window_layout.h"
#include "audio/audio_state.h"
#include "audio/knob_dial.h"
#include "audio/level_meter.h"
#include "audio/win32/audio_thread_win32.h"
#include "audio/win32/default_endpoint_watch.h"
#include "audio/win32/endpoint_description.h"
#include "audio/win32/audio_wiring.h"
#include "audio/win32/input_device_chooser.h"
#include "audio/win32/knob_painter.h"
#include "audio/win32/level_meters.h"
#include "audio/win32/rotate_bitmap.h"
#include "platform/win32/scoped_win.h"

#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr COLORREF kFace = RGB(200, 180, 120);
constexpr COLORREF kNeedle = RGB(80, 80, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kArrow = RGB(255, 206, 24);
constexpr COLORREF kKnobBody = RGB(90, 90, 90);
constexpr COLORREF kBackground = RGB(30, 60, 90);

// A screen-compatible bitmap on which `draw` paints, starting from black.
template <typename Draw> HBITMAP MakeBitmap(int width, int height, Draw draw) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    draw(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void Fill(HDC dc, RECT rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    return MakeBitmap(width, height, [&](HDC dc) { Fill(dc, RECT{0, 0, width, height}, colour); });
}

// A 64 x 64 knob: a grey disc with a yellow arrow from the centre straight up.
HBITMAP ArrowKnob() {
    return MakeBitmap(64, 64, [](HDC dc) {
        HBRUSH brush = CreateSolidBrush(kKnobBody);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, 7, 7, 58, 58);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        Fill(dc, RECT{29, 8, 36, 32}, kArrow);
    });
}

COLORREF ToColorref(BarColour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// Rotation smooths the arrow's edges; its middle stays close to its own colour.
bool IsArrow(COLORREF pixel) {
    return GetRValue(pixel) > 200 && GetGValue(pixel) > 150 && GetBValue(pixel) < 100;
}

void CheckMeter() {
    Canvas canvas;
    HBITMAP face = SolidBitmap(150, 84, kFace);
    PaintMeter(canvas.dc(), face, 270); // straight up from the pivot (75, 84)
    CHECK(canvas.Pixel(75, 84 - 40) == kNeedle);
    CHECK(canvas.Pixel(5, 5) == kFace);
    CHECK(canvas.Pixel(160, 5) == kFill); // the face is drawn at its own size

    PaintMeter(canvas.dc(), face, 400); // out of range: at rest, and the face erases the last needle
    const NeedleTip rest = NeedleTipFor(kNeedleRestAngle);
    CHECK(canvas.Pixel(75 + rest.dx / 2, 84 + rest.dy / 2) == kNeedle);
    CHECK(canvas.Pixel(75, 84 - 40) == kFace);
    DeleteObject(face);
}

void CheckBars() {
    Canvas canvas;
    const LevelMeterPlaces places{kLeftMeterOrigin, kRightMeterOrigin, kLeftBarOrigin, kRightBarOrigin};
    PaintLevelBars(canvas.dc(), places, 32767, 6400);
    for (int column : {0, 104, 105, 106, 135, 136, 149}) {
        const COLORREF colour = ToColorref(LitColumnColour(column));
        CHECK(canvas.Pixel(200 + column, 166) == colour);
        CHECK(canvas.Pixel(200 + column, 175) == colour);
        CHECK(canvas.Pixel(200 + column, 176) == kFill); // the bottom row is not drawn
    }
    CHECK(canvas.Pixel(370 + 99, 170) == ToColorref(LitColumnColour(99)));
    CHECK(canvas.Pixel(370 + 100, 170) == kWhite);
    CHECK(canvas.Pixel(370 + 149, 170) == kWhite);
    CHECK(canvas.Pixel(370 + 150, 170) == kFill);

    PaintLevelBars(canvas.dc(), places, 63, -5);
    CHECK(canvas.Pixel(200, 170) == kWhite);
    CHECK(canvas.Pixel(370, 170) == kWhite);
}

class FixedLevels : public EndpointLevels {
  public:
    float ReadCaptureLevel() override { return 0.3f; }
    float ReadRenderLevel() override { return 0.6f; }
    void SetCaptureLevel(float) override {}
    void SetRenderLevel(float) override {}
};

// The arrow of a 64 x 64 knob drawn at x points along its rotation, and nowhere else.
void CheckArrow(const Canvas& canvas, int x, float rotation) {
    const double radians = rotation * std::numbers::pi / 180;
    const int centreX = x + 32;
    const int centreY = 220 + 32;
    const int alongX = static_cast<int>(std::lround(16 * std::sin(radians)));
    const int alongY = static_cast<int>(std::lround(-16 * std::cos(radians)));
    CHECK(IsArrow(canvas.Pixel(centreX + alongX, centreY + alongY)));
    CHECK(!IsArrow(canvas.Pixel(centreX - alongX, centreY - alongY)));
    CHECK(!IsArrow(canvas.Pixel(centreX + alongY, centreY - alongX)));
}

void CheckKnobs() {
    Canvas canvas;
    HBITMAP arrow = ArrowKnob();
    HBITMAP documentation = SolidBitmap(10, 10, RGB(0, 200, 100));
    HBITMAP synthesiser = SolidBitmap(10, 10, RGB(100, 0, 200));
    const KnobImages images{arrow, arrow, documentation, synthesiser};
    const KnobPlaces places{kParamsKnobOrigin,     kMicGainKnobOrigin,     kVolumeKnobOrigin,
                            kAudioLeftLabelOrigin, kAudioRightLabelOrigin, kDocumentationZone,
                            kSynthesiserZone};
    FixedLevels levels;
    KnobExtents drawn;
    for (int tick = 0; tick < 2; ++tick) { // the images must survive a tick for the next one
        drawn = PaintKnobs(canvas.dc(), images, levels, kBackground, places);
    }
    BITMAP size{};
    CHECK(GetObjectW(arrow, sizeof size, &size) != 0 && size.bmWidth == 64);

    CheckArrow(canvas, 25, KnobRotation(0));
    CheckArrow(canvas, 115, KnobRotation(levels.ReadCaptureLevel()));
    CheckArrow(canvas, 205, KnobRotation(levels.ReadRenderLevel()));
    CHECK(canvas.Pixel(115 + 2, 220 + 2) == kFill); // black corners are see-through
    CHECK(canvas.Pixel(147, 252 + 20) == kKnobBody);

    CHECK((drawn.params == Rect{25, 220, 89, 284}));
    CHECK((drawn.micGain == Rect{115, 220, 179, 284}));
    CHECK((drawn.volume == Rect{205, 220, 269, 284}));
    const DotOffset first = KnobDotOffset(0, 7);
    const DotOffset third = KnobDotOffset(2, 7);
    CHECK(canvas.Pixel(237 + first.dx, 252 + first.dy) == RGB(0, 0, 255));
    CHECK(canvas.Pixel(237 + third.dx, 252 + third.dy) == RGB(0, 255, 0));
    CHECK(canvas.Pixel(237 + third.dx + 4, 252 + third.dy) == RGB(255, 0, 0) ||
          canvas.Pixel(237 + third.dx + 3, 252 + third.dy) == RGB(255, 0, 0));

    CHECK(canvas.Pixel(kDocumentationZone.left + 15, kDocumentationZone.top + 15) == RGB(0, 200, 100));
    CHECK(canvas.Pixel(kSynthesiserZone.left + 31, kSynthesiserZone.top + 31) == RGB(100, 0, 200));

    HBITMAP turned = RotateBitmap(arrow, 90);
    CHECK(turned != nullptr && turned != arrow);
    DeleteObject(turned);
    DeleteObject(arrow);
    DeleteObject(documentation);
    DeleteObject(synthesiser);
}

void PumpMessages() {
    MSG message;
    for (int round = 0; round < 20; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

HWND OpenChooser() {
    ToggleInputDeviceChooser(nullptr);
    PumpMessages();
    return FindWindowW(L"InputDeviceWndClass", L"Zelvora Input device");
}

void CheckChooser() {
    static AudioState audio;
    AudioWiring& wiring = AudioWindows();
    wiring.audio = &audio;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW mainClass{};
    mainClass.lpfnWndProc = DefWindowProcW;
    mainClass.hInstance = instance;
    mainClass.lpszClassName = L"X";
    RegisterClassW(&mainClass);
    wiring.instance = instance;
    wiring.mainWindow = CreateWindowExW(0, L"X", L"ZELVORA", WS_POPUP | WS_VISIBLE, 400, 300, 550, 730,
                                        nullptr, nullptr, instance, nullptr);

    HWND chooser = OpenChooser();
    CHECK(chooser != nullptr);
    if (chooser == nullptr) {
        return;
    }
    CHECK(GetWindow(chooser, GW_OWNER) == wiring.mainWindow);
    RECT rect{};
    GetWindowRect(chooser, &rect);
    CHECK(rect.left == 100 && rect.top == 500 && rect.right - rect.left == 400);

    const bool hasDevice = waveInGetNumDevs() > 0;
    CHECK(hasDevice); // the test's sound server gives a microphone
    HWND first = GetDlgItem(chooser, 0);
    HWND last = GetDlgItem(chooser, kInputDeviceSlots - 1);
    CHECK(first != nullptr && last != nullptr);
    wchar_t text[256] = {};
    GetWindowTextW(last, text, 256);
    CHECK(std::wstring(text) == L"Windows Driver");
    CHECK(audio.inputDevices[0].waveInDevice == 0);
    std::printf("first capture device: %s -> %s\n", audio.inputDevices[0].waveInName,
                audio.inputDevices[0].buttonText);
    CHECK(SendMessageW(first, BM_GETCHECK, 0, 0) == BST_UNCHECKED); // the default device is chosen

    SendMessageW(first, BM_CLICK, 0, 0);
    PumpMessages();
    CHECK(audio.selectedInputDevice.load() == 0);
    CHECK(!IsWindow(chooser));

    chooser = OpenChooser();
    CHECK(chooser != nullptr && SendMessageW(GetDlgItem(chooser, 0), BM_GETCHECK, 0, 0) == BST_CHECKED);
    ToggleInputDeviceChooser(nullptr); // open: the toggle closes it
    PumpMessages();
    CHECK(!IsWindow(chooser));
    CHECK(audio.selectedInputDevice.load() == 0);

    EndpointDescription output;
    DescribeDefaultOutput(output);
    CHECK(!output.name.empty());
}

// Wine keeps the default output in its sound driver's settings and announces a change made there: the knobs'
// watch takes it once, for the render side alone.
void CheckDefaultEndpointWatch() {
    const ScopedCom com;
    ScopedComPtr<IMMDeviceEnumerator> enumerator;
    CHECK(SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                     __uuidof(IMMDeviceEnumerator), enumerator.OutVoid())));
    DefaultEndpointWatch watch;
    CHECK(enumerator && watch.Register(*enumerator.get()));
    CHECK(!watch.TakeChange(eRender));
    HKEY settings = nullptr;
    CHECK(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers\\winepulse.drv", 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, &settings, nullptr) == ERROR_SUCCESS);
    // The driver's watch may read the setting after the first change: each try names another device.
    bool announced = false;
    for (int attempt = 0; attempt < 1000 && !announced; ++attempt) {
        const std::wstring device = L"{0.0.0.00000000}.{zelvora-test-" + std::to_wstring(attempt) + L"}";
        RegSetValueExW(settings, L"DefaultOutput", 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                       static_cast<DWORD>((device.size() + 1) * sizeof(wchar_t)));
        Sleep(10);
        announced = watch.TakeChange(eRender);
    }
    CHECK(announced);
    CHECK(!watch.TakeChange(eRender));
    CHECK(!watch.TakeChange(eCapture));
    // Let go, the watch no longer knows: every read looks the endpoint up again.
    watch.Unregister(*enumerator.get());
    CHECK(watch.TakeChange(eCapture));
    RegDeleteValueW(settings, L"DefaultOutput");
    RegCloseKey(settings);
}

AudioState gSlowAudio;

// Stands for an audio thread whose devices take 1.5 s to close once asked to stop.
DWORD WINAPI SlowClosingAudioThread(LPVOID devicesClosed) {
    while (gSlowAudio.runFlag.load() != kAudioStopRequested) {
        Sleep(10);
    }
    Sleep(1500);
    static_cast<std::atomic<bool>*>(devicesClosed)->store(true);
    return 0;
}

// Shutdown returns only once the audio thread has ended, however long its devices take to close.
void CheckStopWaitsForTheThreadToEnd() {
    std::atomic<bool> devicesClosed{false};
    gSlowAudio.runFlag.store(kAudioRunning);
    HANDLE thread = CreateThread(nullptr, 0, SlowClosingAudioThread, &devicesClosed, 0, nullptr);
    StopAudioThread(thread, gSlowAudio);
    CHECK(devicesClosed.load());
    CHECK(WaitForSingleObject(thread, 0) == WAIT_OBJECT_0);
    CloseHandle(thread);
    StopAudioThread(nullptr, gSlowAudio); // a thread that never started
}

} // namespace

int main() {
    CheckStopWaitsForTheThreadToEnd();
    CheckMeter();
    CheckBars();
    CheckKnobs();
    CheckDefaultEndpointWatch();
    CheckChooser();
    return CheckSummary("audio_devices_test");
}
