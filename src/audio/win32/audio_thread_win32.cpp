#include "audio/win32/audio_thread_win32.h"

#include "audio/audio_state.h"
#include "audio/audio_thread.h"
#include "audio/win32/wave_devices.h"
#include "session/shared_state.h"

#include <cwchar>
#include <mutex>

namespace {

// Playing out and closing takes a few hundred milliseconds, longer on a starved machine; a sound system that
// never answers must not keep the client from ending.
constexpr DWORD kStopWaitMs = 10000;

constexpr wchar_t kSystemErrorCaption[] = L"Erreur Syst\u00e8me Windows";
constexpr wchar_t kSystemErrorText[] =
    L"Windows semble avoir un probl\u00e8me syst\u00e8me !\nCode d'erreur : %d";
constexpr wchar_t kDiagnosisCaption[] = L"Identification du probl\u00e8me";
constexpr wchar_t kCaptureDiagnosis[] =
    L"Erreur d'ouverture du p\u00e9riph\u00e9rique d'enregistrement.\nLe driver d'enregistrement est "
    L"d\u00e9fectueux ou incompatible\nZelvora ne pourra fonctionner qu'en mode \u00e9coute.\nLe programme "
    L"va "
    L"s'arr\u00eat\u00e9 automatiquement.";
constexpr wchar_t kPlaybackDiagnosis[] =
    L"Erreur d'ouverture du p\u00e9riph\u00e9rique de lecture.\nLe driver de lecture est d\u00e9fectueux ou "
    L"incompatible\nZelvora ne pourra pas fonctionner en mode \u00e9coute.\nLe programme va "
    L"s'arr\u00eat\u00e9 "
    L"automatiquement.";

// The client cannot go on without its sound devices: two boxes, then the whole process ends at once.
[[noreturn]] void FailOnDevice(int errorCode, const wchar_t* diagnosis) {
    wchar_t text[256];
    std::swprintf(text, sizeof text / sizeof text[0], kSystemErrorText, errorCode);
    MessageBoxW(nullptr, text, kSystemErrorCaption, MB_OK);
    MessageBoxW(nullptr, diagnosis, kDiagnosisCaption, MB_OK);
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
    void CaptureDeviceFailed(int errorCode) override { FailOnDevice(errorCode, kCaptureDiagnosis); }
    void PlaybackDeviceFailed(int errorCode) override { FailOnDevice(errorCode, kPlaybackDiagnosis); }

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
