#include "app/win32/startup.h"
#include "app/win32/supervisor_notice_actions.h"

#include "app/main_window_layout.h"
#include "app/win32/peripheral_states.h"
#include "app/required_images.h"
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"
#include "app/win32/close_button.h"
#include "app/win32/heartbeat.h"
#include "platform/win32/image_loading.h"
#include "app/win32/led_bitmaps.h"
#include "app/win32/main_window.h"
#include "app/win32/panel_painters.h"
#include "app/win32/pc_identifier_win32.h"
#include "app/win32/resource_ids.h"
#include "app/win32/title_animation.h"
#include "audio/win32/audio_thread_win32.h"
#include "audio/win32/audio_wiring.h"
#include "audio/win32/endpoint_volume.h"
#include "audio/win32/knob_painter.h"
#include "audio/win32/level_meters.h"
#include "build_config.h"
#include "net/voice_sockets.h"
#include "net/win32/network_threads.h"
#include "app/win32/time_left_display.h"
#include "peripherals/synth_link.h"
#include "peripherals/usb_icon.h"
#include "peripherals/win32/accessory_thread.h"
#include "peripherals/win32/synth_key_listener_thread.h"
#include "peripherals/win32/usb_icon_win32.h"
#include "platform/win32/window_class.h"
#include "platform/win32/message_box.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/scoped_win.h"
#include "web/win32/account_data.h"
#include "web/win32/web_wiring.h"
#include "session/user_texts.h"

#include <windows.h>

#include <mmsystem.h>
#include <objidl.h> // GDI+ needs the COM declarations that the lean Windows header leaves out
#include <gdiplus.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr wchar_t kMainWindowClass[] = L"X";

constexpr KnobPlaces kKnobPlaces{kParamsKnobOrigin,     kMicGainKnobOrigin,     kVolumeKnobOrigin,
                                 kAudioLeftLabelOrigin, kAudioRightLabelOrigin, kDocumentationZone,
                                 kSynthesiserZone};

// A knob's click zone is where it was last drawn: none until it first shows.
void RecordKnobZone(Rect& zone, const Rect& drawn) {
    if (!drawn.IsEmpty()) {
        zone = drawn;
    }
}

// The knobs' thread timer: they are painted with the main window's images and colour.
void CALLBACK KnobPainterTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    MainThreadState& mainThread = MainThread();
    const WindowHandles& handles = mainThread.handles;
    const std::optional<KnobExtents> drawn =
        PaintKnobsTick(handles.mainWindow,
                       KnobImages{handles.knobArrowImage, handles.paramsButtonImage,
                                  handles.documentationIcon, handles.synthesiserIcon},
                       Account().backgroundColour, kKnobPlaces);
    if (drawn) {
        RecordKnobZone(mainThread.zones.paramsKnob, drawn->params);
        RecordKnobZone(mainThread.zones.micGainKnob, drawn->micGain);
        RecordKnobZone(mainThread.zones.volumeKnob, drawn->volume);
    }
}

struct ThreadTimer {
    ThreadTimerSlot slot;
    UINT_PTR requestedId;
    UINT periodMs;
    TIMERPROC routine;
};

// Thread timers of the panels, the knobs and the speaker fetch, started in this order.
constexpr ThreadTimer kPanelTimers[] = {
    {kTimerChannelPanel, 12, 500, ChannelPanelTimerProc},
    {kTimerNetworkRing, 3, 50, NetworkRingTimerProc},
    {kTimerKnobPainter, 8, 1000, KnobPainterTimerProc},
    {kTimerSpeakerFetch, 7, 1000, SpeakerFetchTimerProc},
    {kTimerHelpBanner, 11, 500, HelpBannerTimerProc},
    {kTimerStatusPanel, 6, 200, StatusPanelTimerProc},
};
constexpr ThreadTimer kTimeLeftTimer{kTimerTimeLeft, 15, 1000, TimeLeftTimerProc};

// Shutdown kills the timers in this order.
constexpr ThreadTimerSlot kTimerKillOrder[] = {kTimerNetworkRing,  kTimerStatusPanel,  kTimerKnobPainter,
                                               kTimerChannelPanel, kTimerSpeakerFetch, kTimerHelpBanner,
                                               kTimerTimeLeft};

// The network threads' state, the playback queue fed by the receive thread, and the supervisor thread acting
// on the server's notices with the app's windows.
VoiceNetwork gVoiceNetwork{Voice(), Shared(), Audio().playbackQueue, ActOnSupervisorNotice};

// The synthesiser's key orders, taken by the key listener thread.
SynthKeyListenerWiring gSynthKeyListener{Synth(), Shared().pushToTalk};

// The heartbeat, network and key listener threads, which shutdown stops and waits for beside the audio and
// accessory threads; a thread the system could not start has no handle here.
constexpr DWORD kWorkerThreadCount = 5;
struct WorkerThreads {
    HANDLE heartbeatStop = nullptr;
    HANDLE handles[kWorkerThreadCount] = {};
    DWORD count = 0;
};
WorkerThreads gWorkers;

// Once asked, a worker ends within half a second (the receive and poll time-outs); one held longer (a
// supervisor box still open) is left to the end of the process.
constexpr DWORD kWorkerStopWaitMs = 3000;

// The audio thread's blocks go to the voice server; the sequence byte is the sending thread's own.
std::uint8_t gAudioSequence = 1;
AudioThreadWiring gAudioThread{Audio(), Shared(), [](const std::uint8_t (&block)[kCaptureBlockBytes]) {
                                   SendAudioDatagram(gVoiceNetwork.link, gVoiceNetwork.shared, gAudioSequence,
                                                     kVoiceServerAddress, block);
                               }};

// Holds the named lock for the life of the process; returns the exit code when another copy runs.
bool AcquireSingleInstanceLock(int* exitCode) {
    HANDLE lock = CreateMutexW(nullptr, TRUE, L"Zelvora");
    if (lock == nullptr) {
        *exitCode = 1;
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowMessageBox(nullptr, kAlreadyRunning, kZelvoraSystem, MB_ICONERROR);
        CloseHandle(lock);
        *exitCode = 1;
        return false;
    }
    MainThread().handles.singleInstanceLock = lock;
    return true;
}

void PlayStartupChime() {
    if (!PlaySoundW(L"C:\\Windows\\Media\\chimes.wav", nullptr, SND_FILENAME | SND_ASYNC)) {
        ShowMessageBox(nullptr, kChimeNotPlayed, kError, MB_ICONERROR);
    }
}

HWND CreateMainWindow(HINSTANCE instance) {
    WindowClassLook look;
    // A context of its own, kept between the panels' ticks: under Wine a shared one is reset at each release,
    // which costs the X11 driver a search for resource files.
    look.style = CS_OWNDC;
    look.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZELVORA_LARGE));
    look.smallIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZELVORA_SMALL));
    look.cursor = ArrowCursor();
    look.background = CreateSolidBrush(Account().backgroundColour);
    if (!RegisterWindowClass(instance, kMainWindowClass, MainWindowProc, look)) {
        // No class, no window: the run ends as when the window cannot be created.
        return nullptr;
    }
    return CreateWindowExW(0, kMainWindowClass, WideFromUtf8(kMainWindowTitle).c_str(), WS_POPUP | WS_SYSMENU,
                           400, 300, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance,
                           nullptr);
}

void ShapeAndShowMainWindow(HWND window, int showCommand) {
    SetWindowRgn(window,
                 CreateRoundRectRgn(0, 0, kMainWindowWidth, kMainWindowHeight, kMainWindowCornerDiameter,
                                    kMainWindowCornerDiameter),
                 TRUE);
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    const Point origin =
        CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                      windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
}

void SetStartZones() {
    Zones& zones = MainThread().zones;
    zones.drag = kDragZone;
    zones.about = kAboutZone;
}

void ResetInputDeviceSlots(AudioState& audio) {
    for (InputDeviceSlot& slot : audio.inputDevices) {
        slot = InputDeviceSlot{};
    }
    audio.selectedInputDevice.store(kDefaultInputDevice);
}

void PaintTitleAndPrepareCloseButton(HWND window) {
    MainThreadState& mainThread = MainThread();
    std::strcpy(mainThread.helpText, kWelcomeToTheNetwork);
    mainThread.zones.close = kCloseZone;
    mainThread.closeButtonReady = true;
    const ScopedGetDC dc(window);
    if (dc) {
        DrawTitle(dc.get());
        // The first paint ran before the cross was ready, and nothing repaints it until the pointer passes.
        DrawCloseButton(dc.get());
    }
}

// COM and GDI+ stay up for the whole run once started; the animation needs both.
void StartGraphicsAndAnimation(HWND window) {
    if (FAILED(CoInitialize(nullptr))) {
        return;
    }
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        CoUninitialize();
        return;
    }
    MainThread().zones.animation = kAnimationZone;
    const ScopedGetDC dc(window);
    if (dc) {
        RECT frame{kAnimationZone.left - 1, kAnimationZone.top - 1, kAnimationZone.right + 1,
                   kAnimationZone.bottom + 1};
        FrameRect(dc.get(), &frame, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    LoadTitleAnimation(window);
}

// Loads a required picture; reports it when missing.
HBITMAP LoadRequiredImage(HWND mainWindow, const RequiredImage& image) {
    HBITMAP bitmap = LoadBitmapFile(image.fileName);
    if (bitmap == nullptr) {
        ReportMissingImage(mainWindow, image.boxText, image.boxCaption);
    }
    return bitmap;
}

void LoadRequiredImages(HWND window) {
    MainThreadState& mainThread = MainThread();
    WindowHandles& handles = mainThread.handles;
    handles.knobArrowImage = LoadRequiredImage(window, kKnobArrowImage);
    handles.paramsButtonImage = LoadRequiredImage(window, kParamsButtonImage);
    mainThread.zones.documentation = kDocumentationZone;
    handles.documentationIcon = LoadRequiredImage(window, kDocumentationIcon);
    mainThread.zones.synthesiser = kSynthesiserZone;
    handles.synthesiserIcon = LoadRequiredImage(window, kSynthesiserIcon);
}

void LoadChannelImages(HWND window) {
    MainThreadState& mainThread = MainThread();
    WindowHandles& handles = mainThread.handles;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        char fileName[16];
        ChannelImageFileName(channel, fileName);
        handles.channelImages[channel] = LoadBitmapFile(fileName);
    }
    for (HBITMAP__* image : handles.channelImages) {
        if (image == nullptr) {
            ReportMissingImage(window, kChannelImageReference, kProgramStopsForMissingFile);
        }
    }
    BITMAP size{};
    if (handles.channelImages[1] != nullptr &&
        GetObjectW(handles.channelImages[1], sizeof size, &size) != 0) {
        handles.channelImageWidth = size.bmWidth;
        handles.channelImageHeight = size.bmHeight;
    }
    mainThread.zones.channelPanel = kChannelPanelZone;
    mainThread.panelsReady = true;
}

// A thread the system cannot start is reported and done without: the client runs on, and the light of
// that thread's link shows that nothing moves on it.
HANDLE StartThread(LPTHREAD_START_ROUTINE routine, const char* name, void* parameter = nullptr) {
    HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
    if (thread == nullptr) {
        std::fprintf(stderr, "Erreur CreateThread (%s): %lu\n", name, GetLastError());
    }
    return thread;
}

void StartWorkerThread(LPTHREAD_START_ROUTINE routine, const char* name, void* parameter) {
    if (HANDLE thread = StartThread(routine, name, parameter); thread != nullptr) {
        gWorkers.handles[gWorkers.count++] = thread;
    }
}

void StartNetworkThreads() {
    gWorkers.heartbeatStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    StartWorkerThread(HeartbeatThread, "heartbeat", gWorkers.heartbeatStop);
    StartWorkerThread(PresenceThread, "presence", &gVoiceNetwork);
    StartWorkerThread(VoiceReceiveThread, "voice receive", &gVoiceNetwork);
    StartWorkerThread(SupervisorThread, "supervisor", &gVoiceNetwork);
    StartWorkerThread(SynthKeyListenerThread, "synthesiser key listener", &gSynthKeyListener);
}

// Asked before the audio thread's play-out, so that the workers' last rounds run during it.
void RequestWorkersStop() {
    gVoiceNetwork.stop.Request();
    gSynthKeyListener.running.store(false);
    WakeSynthKeyListener(Synth());
    if (gWorkers.heartbeatStop != nullptr) {
        SetEvent(gWorkers.heartbeatStop);
    }
}

void WaitForWorkers() {
    if (gWorkers.count > 0) {
        WaitForMultipleObjects(gWorkers.count, gWorkers.handles, TRUE, kWorkerStopWaitMs);
    }
    for (DWORD i = 0; i < gWorkers.count; ++i) {
        CloseHandle(gWorkers.handles[i]);
    }
    gWorkers.count = 0;
}

void StartThreadTimer(const ThreadTimer& timer) {
    MainThread().handles.timerIds[timer.slot] =
        SetTimer(nullptr, timer.requestedId, timer.periodMs, timer.routine);
}

void StartInactivityCountdown() {
    MainThreadState& mainThread = MainThread();
    mainThread.zones.timeLeft = kTimeLeftZone;
    mainThread.inactivitySeconds = kInactivityStartSeconds;
    StartThreadTimer(kTimeLeftTimer);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void ShutDown() {
    MainThreadState& mainThread = MainThread();
    SendSynthStop(Synth());
    WindowHandles& handles = mainThread.handles;
    if (const HBITMAP usbIcon = UsbIconOnWindow().picture.exchange(nullptr); usbIcon != nullptr) {
        DeleteObject(usbIcon);
    }
    for (ThreadTimerSlot slot : kTimerKillOrder) {
        if (handles.timerIds[slot] != 0) {
            KillTimer(nullptr, handles.timerIds[slot]);
            handles.timerIds[slot] = 0;
        }
    }
    ReleaseKnobEndpoints();
    RequestWorkersStop();
    // No sound stream may outlive the shutdown: the start-up chime is cut and the audio thread closes its
    // devices.
    PlaySoundW(nullptr, nullptr, 0);
    StopAudioThread(handles.audioThread, Audio());
    if (handles.audioThread != nullptr) {
        CloseHandle(handles.audioThread);
        handles.audioThread = nullptr;
    }
    if (handles.accessoryThread != nullptr) {
        StopAccessoryThread(handles.accessoryThread, Accessory());
        CloseHandle(handles.accessoryThread);
        handles.accessoryThread = nullptr;
    }
    WaitForWorkers();
    SystemEndpointLevels endpoints;
    RestoreCaptureLevel(endpoints, mainThread.captureLevelAtStart);
}

} // namespace

int RunClient(HINSTANCE instance, int showCommand) {
    SharedState& shared = Shared();
    VoiceLink& voice = Voice();
    AudioState& audio = Audio();
    AccountState& account = Account();
    MainThreadState& mainThread = MainThread();
    mainThread.handles.instance = reinterpret_cast<HINSTANCE__*>(instance);
    WebWiring& web = Web();
    web.instance = instance;
    web.shared = &shared;
    web.account = &account;
    web.speakerAccount = &voice.speakerAccount;
    web.speakerBand = SpeakerBandPlaces{kSpeakerPictureOrigin, kSpeakerNameStrip, kSpeakerFirstNameOrigin,
                                        kSpeakerTownOrigin, kSpeakerPhraseStrip};
    AudioWiring& audioWindows = AudioWindows();
    audioWindows.instance = instance;
    audioWindows.audio = &audio;

    int exitCode = 0;
    if (!AcquireSingleInstanceLock(&exitCode)) {
        return exitCode;
    }
    PlayStartupChime();
    account.backgroundColour = 0;
    ReadPcIdentifier(shared.pcIdentifier);

    HWND window = CreateMainWindow(instance);
    if (window == nullptr) {
        return 0;
    }
    mainThread.handles.mainWindow = window;
    web.mainWindow = window;
    audioWindows.mainWindow = window;
    ShapeAndShowMainWindow(window, showCommand);
    SetStartZones();
    mainThread.captureLevelAtStart = TryReadCaptureLevel();
    ResetInputDeviceSlots(audio);
    PaintTitleAndPrepareCloseButton(window);
    StartGraphicsAndAnimation(window);
    LoadLedBitmaps(mainThread, shared.lights);
    LoadRequiredImages(window);
    CreateLevelMeters(window, instance,
                      LevelMeterPlaces{kLeftMeterOrigin, kRightMeterOrigin, kLeftBarOrigin, kRightBarOrigin});
    LoadChannelImages(window);
    OpenVoiceSockets(voice, shared, kVoiceServerAddress);
    shared.lights.tcp.store(kLedYellow);
    mainThread.handles.pcmEvent = CreateEventW(nullptr, FALSE, FALSE, L"PCM_Event");
    StartNetworkThreads();
    UsbIconOnWindow().mainWindow = window;
    UsbIconOnWindow().place = kUsbIconZone;
    SetUsbIconState(UsbIconOnWindow(), kUsbIconBlack);
    // Running from before the thread starts: a stop asked before its first pass is then never overwritten.
    audio.runFlag.store(kAudioRunning);
    mainThread.handles.audioThread = StartThread(AudioThread, "audio", &gAudioThread);
    // Every periodic timer of the main thread starts in one burst, the countdown's and the animation's
    // included, so that ticks falling due at the same time share one wake of the thread. The meters go
    // first, two requests before the ring: the three 50 ms timers then fall due within the server's
    // millisecond and share their wakes, where six requests between them split about half of them.
    RestartLevelMeterTimers();
    for (const ThreadTimer& timer : kPanelTimers) {
        StartThreadTimer(timer);
    }
    StartInactivityCountdown();
    RestartTitleAnimationTimer(window);
    FetchStartupAccountData(window);
    account.refetchFlag = false;
    OpenSynthSocketAndGreet(Synth());
    static AccessoryWiring accessory{Accessory(), shared.pushToTalk, UsbIconOnWindow()};
    mainThread.handles.accessoryThread = CreateThread(nullptr, 0, AccessoryThread, &accessory, 0, nullptr);

    const int quitCode = RunMessageLoop();
    ShutDown();
    return quitCode;
}
