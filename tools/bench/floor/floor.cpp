// The processor floor of a running client: only the work the client cannot do without, with the client's own
// code where it is that work. The presence stream paced by the error level, the blocking receive of the
// relayed stream, the audio thread (playback while listening, capture while the space bar is held, at the
// client's block sizes) and the main thread's timers at their periods with empty routines, on a window like
// the client's. No painting, no supervisor, no accessory, no web service: the processor bench holds the
// client against this program. With `paints`, the timers also paint one pixel whenever the client's must show
// a change: the title animation at every tick, the NETWORK ring when its lights moved, the countdown every
// second, the needles and bars when they moved. Most of what a painting costs under Wine does not depend on
// what it draws, so that is the floor of a client that shows what it must.
//
//     ZelvoraFloor.exe [CHANNEL [paints]]     (CHANNEL 0 to 10, default 0: the channel whose stream it takes)

#include "audio/win32/audio_thread_win32.h"
#include "build_config.h"
#include "net/protocol.h"
#include "net/voice_sockets.h"
#include "net/win32/network_threads.h"
#include "audio/audio_state.h"
#include "net/voice_link.h"
#include "session/shared_state.h"

#include <windows.h>

#include <array>
#include <cwchar>

namespace {

constexpr wchar_t kFloorWindowClass[] = L"ZelvoraFloor";

// The state the client's threads run on; the process ends without destroying it.
SharedState& gShared = *new SharedState;
VoiceLink& gLink = *new VoiceLink;
AudioState& gAudio = *new AudioState;

HWND gWindow = nullptr;
bool gPaints = false;

enum Painter {
    kRingPainter,
    kCountdownPainter,
    kAnimationPainter,
    kLeftMeterPainter,
    kRightMeterPainter,
    kPainterCount
};

// One pixel of the window, its own for each painter, flipped each time so that every painting changes it.
void PaintPixel(int painter) {
    static std::array<bool, kPainterCount> lit{};
    const HDC dc = GetDC(gWindow);
    if (dc != nullptr) {
        lit[painter] = !lit[painter];
        PatBlt(dc, 10 + 10 * painter, 10, 1, 1, lit[painter] ? WHITENESS : BLACKNESS);
        ReleaseDC(gWindow, dc);
    }
}

// Paints `painter`'s pixel when `now` differs from what it last painted.
template <typename T> void PaintOnChange(int painter, T& shown, const T& now) {
    if (now != shown) {
        shown = now;
        PaintPixel(painter);
    }
}

void CALLBACK EmptyTimerRoutine(HWND, UINT, UINT_PTR, DWORD) {}

void CALLBACK RingTimerRoutine(HWND, UINT, UINT_PTR, DWORD) {
    if (gPaints) {
        static std::array<LedColour, kNetworkRingLights> shown{};
        std::array<LedColour, kNetworkRingLights> now{};
        for (int i = 0; i < kNetworkRingLights; ++i) {
            now[i] = gShared.lights.ring[i].load(std::memory_order_relaxed);
        }
        PaintOnChange(kRingPainter, shown, now);
    }
}

void CALLBACK CountdownTimerRoutine(HWND, UINT, UINT_PTR, DWORD) {
    if (gPaints) {
        PaintPixel(kCountdownPainter);
    }
}

// The client's thread timers: channel panel, NETWORK ring, knobs, speaker fetch, help banner, status panel,
// time left.
struct ThreadTimer {
    UINT periodMs;
    TIMERPROC routine;
};
constexpr ThreadTimer kThreadTimers[] = {{500, EmptyTimerRoutine},     {50, RingTimerRoutine},
                                         {1000, EmptyTimerRoutine},    {1000, EmptyTimerRoutine},
                                         {500, EmptyTimerRoutine},     {200, EmptyTimerRoutine},
                                         {1000, CountdownTimerRoutine}};
// The client's window timers: the two level meters and the title animation, numbered from 1.
constexpr UINT kWindowTimerPeriodsMs[] = {50, 50, 80};
constexpr WPARAM kLeftMeterTimer = 1;
constexpr WPARAM kRightMeterTimer = 2;

void PaintWindowTimer(WPARAM timer) {
    static int leftNeedle = 0;
    static int rightNeedle = 0;
    static std::array<int, 2> bars{};
    const LevelReadings& levels = gAudio.levels;
    if (timer == kLeftMeterTimer) {
        PaintOnChange(kLeftMeterPainter, leftNeedle, levels.leftNeedleAngle.load());
        PaintOnChange(kLeftMeterPainter, bars, {levels.leftBarLevel.load(), levels.rightBarLevel.load()});
    } else if (timer == kRightMeterTimer) {
        PaintOnChange(kRightMeterPainter, rightNeedle, levels.rightNeedleAngle.load());
    } else {
        PaintPixel(kAnimationPainter);
    }
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            gShared.pushToTalk.SetKeyState(message == WM_KEYDOWN ? kPttTalk : kPttListen);
        }
        return 0;
    case WM_TIMER:
        if (gPaints) {
            PaintWindowTimer(wParam);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int ChannelFromCommandLine(const wchar_t* commandLine) {
    const long channel = std::wcstol(commandLine, nullptr, 10);
    return channel >= 0 && channel <= kLastChannelPort - kFirstChannelPort ? static_cast<int>(channel) : 0;
}

bool PaintsFromCommandLine(const wchar_t* commandLine) {
    return std::wcsstr(commandLine, L"paints") != nullptr;
}

// A window like the client's main window: its size, style and own device context, so that the paintings land
// on a surface like its own.
HWND CreateFloorWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kFloorWindowClass;
    if (RegisterClassW(&windowClass) == 0) {
        return nullptr;
    }
    return CreateWindowExW(0, kFloorWindowClass, L"ZELVORA-FLOOR", WS_POPUP | WS_SYSMENU | WS_VISIBLE, 0, 0,
                           550, 730, nullptr, nullptr, instance, nullptr);
}

// The presence stream and the blocking receive, as the client runs them; no supervisor thread.
VoiceNetwork gVoiceNetwork{gLink, gShared, gAudio.playbackQueue, [](SupervisorNotice) {}};

std::uint8_t gAudioSequence = 1;
AudioThreadWiring gAudioThread{gAudio, gShared, [](const std::uint8_t (&block)[kCaptureBlockBytes]) {
                                   SendAudioDatagram(gVoiceNetwork.link, gVoiceNetwork.shared, gAudioSequence,
                                                     kVoiceServerAddress, block);
                               }};

void StartDetachedThread(LPTHREAD_START_ROUTINE routine) {
    if (HANDLE thread = CreateThread(nullptr, 0, routine, &gVoiceNetwork, 0, nullptr); thread != nullptr) {
        CloseHandle(thread);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    gShared.channelPort.store(kFirstChannelPort + ChannelFromCommandLine(commandLine));
    gPaints = PaintsFromCommandLine(commandLine);
    HWND window = CreateFloorWindow(instance);
    gWindow = window;
    if (window == nullptr) {
        return 1;
    }
    OpenVoiceSockets(gLink, gShared, kVoiceServerAddress);
    StartDetachedThread(PresenceThread);
    StartDetachedThread(VoiceReceiveThread);
    gAudio.runFlag.store(kAudioRunning);
    HANDLE audioThread = CreateThread(nullptr, 0, AudioThread, &gAudioThread, 0, nullptr);
    for (const ThreadTimer& timer : kThreadTimers) {
        SetTimer(nullptr, 0, timer.periodMs, timer.routine);
    }
    UINT_PTR windowTimerId = 1;
    for (UINT periodMs : kWindowTimerPeriodsMs) {
        SetTimer(window, windowTimerId++, periodMs, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    StopAudioThread(audioThread, gAudio);
    return static_cast<int>(message.wParam);
}
