#include "audio/win32/audio_thread_win32.h"

#include "audio/audio_state.h"
#include "audio/audio_thread.h"
#include "audio/win32/wave_devices.h"
#include "platform/win32/message_box.h"
#include "session/shared_state.h"
#include "session/user_texts.h"

#include <cstdio>
#include <mutex>

namespace {

// Playing out and closing takes a few hundred milliseconds, longer on a starved machine; a sound system that
// never answers must not keep the client from ending.
constexpr DWORD kStopWaitMs = 10000;

// The client cannot go on without its sound devices: two boxes, then the whole process ends at once.
[[noreturn]] void FailOnDevice(int errorCode, const char* diagnosis) {
    char text[256];
    std::snprintf(text, sizeof text, kWindowsSystemProblemWithCode, errorCode);
    ShowMessageBox(nullptr, text, kWindowsSystemError, MB_OK);
    ShowMessageBox(nullptr, diagnosis, kProblemIdentification, MB_OK);
    ExitProcess(1);
}

class ClientAudioHost final : public AudioHost {
  public:
    explicit ClientAudioHost(const AudioThreadWiring& wiring) : wiring_(wiring) {}
    bool UserTalks() override { return wiring_.shared.pushToTalk.IsUserTalking(); }
    int SelectedInputDevice() override {
        return wiring_.audio.selectedInputDevice.load(std::memory_order_relaxed);
    }
    void SendBlock(const std::uint8_t (&block)[kCaptureBlockBytes]) override { wiring_.sendBlock(block); }
    void CaptureDeviceFailed(int errorCode) override { FailOnDevice(errorCode, kCaptureDeviceDidNotOpen); }
    void PlaybackDeviceFailed(int errorCode) override { FailOnDevice(errorCode, kPlaybackDeviceDidNotOpen); }

  private:
    const AudioThreadWiring& wiring_;
};

// Set at every write of the talk keys and at the stop request, so that the talking phase sleeps until a
// buffer is filled or one of them changes.
HANDLE TalkOrStopChanged() {
    static const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

void SignalTalkOrStopChange() {
    SetEvent(TalkOrStopChanged());
}

} // namespace

DWORD WINAPI AudioThread(LPVOID parameter) {
    const AudioThreadWiring& wiring = *static_cast<AudioThreadWiring*>(parameter);
    static WaveCapture capture(TalkOrStopChanged());
    static WavePlayback playback;
    wiring.shared.pushToTalk.SetChangeNotice(&SignalTalkOrStopChange);
    ClientAudioHost host(wiring);
    RunAudioThread(wiring.audio, wiring.shared.lights, capture, playback, host);
    return 0;
}

void StopAudioThread(HANDLE thread, AudioState& audio) {
    if (thread == nullptr) {
        return;
    }
    // An ended thread keeps its flag; the wait then returns at once.
    if (audio.runFlag.exchange(kAudioStopRequested) == kAudioRunning) {
        SignalTalkOrStopChange();
    }
    WaitForSingleObject(thread, kStopWaitMs);
}
