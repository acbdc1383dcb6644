// The processor floor of a running client: only the work the client cannot do without, with the client's own
// code where it is that work. The presence stream paced by the error level, the blocking receive of the
// relayed stream, the audio thread (playback while listening, capture while the space bar is held, at the
// client's block sizes) and the main thread's timers at their periods with empty routines. No painting, no
// supervisor, no accessory, no web service: the processor bench holds the client against this program.
//
//     ZelvoraFloor.exe [CHANNEL]     (0 to 10, default 0: the channel whose stream it takes)

#include "audio/win32/audio_thread_win32.h"
#include "build_config.h"
#include "net/protocol.h"
#include "net/voice_sockets.h"
#include "net/win32/network_threads.h"
#include "audio/audio_state.h"
#include "net/voice_link.h"
#include "session/shared_state.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kFloorWindowClass[] = L"ZelvoraFloor";

// The state the client's threads run on; the process ends without destroying it.
SharedState& gShared = *new SharedState;
VoiceLink& gLink = *new VoiceLink;
AudioState& gAudio = *new AudioState;

// The client's thread timers: channel panel, NETWORK ring, knobs, speaker fetch, help banner, status panel,
// time left.
constexpr UINT kThreadTimerPeriodsMs[] = {500, 50, 1000, 1000, 500, 200, 1000};
// The client's window timers: the two level meters and the title animation.
constexpr UINT kWindowTimerPeriodsMs[] = {50, 50, 80};

void CALLBACK EmptyTimerRoutine(HWND, UINT, UINT_PTR, DWORD) {}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            gShared.pushToTalk.SetKeyState(message == WM_KEYDOWN ? kPttTalk : kPttListen);
        }
        return 0;
    case WM_TIMER:
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

HWND CreateFloorWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kFloorWindowClass;
    if (RegisterClassW(&windowClass) == 0) {
        return nullptr;
    }
    return CreateWindowExW(0, kFloorWindowClass, L"ZELVORA-FLOOR", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           200, 100, nullptr, nullptr, instance, nullptr);
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
    HWND window = CreateFloorWindow(instance);
    if (window == nullptr) {
        return 1;
    }
    OpenVoiceSockets(gLink, gShared, kVoiceServerAddress);
    StartDetachedThread(PresenceThread);
    StartDetachedThread(VoiceReceiveThread);
    gAudio.runFlag.store(kAudioRunning);
    HANDLE audioThread = CreateThread(nullptr, 0, AudioThread, &gAudioThread, 0, nullptr);
    for (UINT periodMs : kThreadTimerPeriodsMs) {
        SetTimer(nullptr, 0, periodMs, EmptyTimerRoutine);
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
