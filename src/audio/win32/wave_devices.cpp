#include "audio/win32/wave_devices.h"

#include <atomic>
#include <cstring>

namespace {

// One playback block's playing time.
constexpr LONG kBlockMs = 1000 * kSlotsPerPlaybackBlock * static_cast<LONG>(kCaptureBlockBytes) /
                          (kVoiceFramesPerSecond * kVoiceBytesPerFrame);
static_assert(kBlockMs == 125);

constexpr DWORD kPassWithoutEventMs = 10;

WAVEFORMATEX VoiceFormat() {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = kVoiceChannels;
    format.nSamplesPerSec = kVoiceFramesPerSecond;
    format.wBitsPerSample = kVoiceBitsPerSample;
    format.nBlockAlign = kVoiceBytesPerFrame;
    format.nAvgBytesPerSec = kVoiceFramesPerSecond * kVoiceBytesPerFrame;
    format.cbSize = 0;
    return format;
}

// The device's thread sets the header's flags.
DWORD FlagsOf(WAVEHDR& header) {
    return std::atomic_ref<DWORD>(header.dwFlags).load(std::memory_order_acquire);
}

void PointAt(WAVEHDR& header, std::uint8_t* data, std::size_t bytes) {
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(data);
    header.dwBufferLength = static_cast<DWORD>(bytes);
}

void CALLBACK OnPlaybackMessage(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    if (message == WOM_DONE) {
        reinterpret_cast<BlockPlayedListener*>(instance)->OnBlockPlayed();
    }
}

} // namespace

WaveCapture::WaveCapture(HANDLE alsoWakeOn)
    : bufferFilled_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), alsoWakeOn_(alsoWakeOn) {}

int WaveCapture::Open(int deviceNumber) {
    WAVEFORMATEX format = VoiceFormat();
    const UINT device = deviceNumber < 0 ? WAVE_MAPPER : static_cast<UINT>(deviceNumber);
    const MMRESULT result =
        waveInOpen(&device_, device, &format, reinterpret_cast<DWORD_PTR>(bufferFilled_), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        device_ = nullptr;
        return static_cast<int>(result);
    }
    return 0;
}

void WaveCapture::Queue(int index) {
    WAVEHDR& header = headers_[index];
    if ((FlagsOf(header) & WHDR_PREPARED) != 0) {
        waveInUnprepareHeader(device_, &header, sizeof header);
    }
    PointAt(header, buffers_[index], kCaptureBlockBytes);
    waveInPrepareHeader(device_, &header, sizeof header);
    waveInAddBuffer(device_, &header, sizeof header);
}

void WaveCapture::Start() {
    waveInStart(device_);
}

bool WaveCapture::IsFilled(int index) {
    return (FlagsOf(headers_[index]) & WHDR_DONE) != 0;
}

void WaveCapture::WaitForBuffer(int ms) {
    const HANDLE wakers[] = {bufferFilled_, alsoWakeOn_};
    // Without its event the phase would spin: it then looks at the device every 10 ms.
    if (WaitForMultipleObjects(alsoWakeOn_ != nullptr ? 2 : 1, wakers, FALSE, static_cast<DWORD>(ms)) ==
        WAIT_FAILED) {
        Sleep(kPassWithoutEventMs);
    }
}

void WaveCapture::Close() {
    waveInStop(device_);
    waveInReset(device_);
    for (WAVEHDR& header : headers_) {
        waveInUnprepareHeader(device_, &header, sizeof header);
        header = WAVEHDR{};
    }
    waveInClose(device_);
    device_ = nullptr;
}

WavePlayback::WavePlayback() : clock_(CreateWaitableTimerW(nullptr, FALSE, nullptr)) {}

int WavePlayback::Open(BlockPlayedListener& listener) {
    WAVEFORMATEX format = VoiceFormat();
    const MMRESULT result =
        waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&OnPlaybackMessage),
                    reinterpret_cast<DWORD_PTR>(&listener), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        device_ = nullptr;
        return static_cast<int>(result);
    }
    return 0;
}

void WavePlayback::Play(int index, const std::uint8_t (&block)[kPlaybackBlockBytes]) {
    WAVEHDR& header = headers_[index];
    if ((FlagsOf(header) & WHDR_PREPARED) != 0) {
        waveOutUnprepareHeader(device_, &header, sizeof header);
    }
    std::memcpy(blocks_[index], block, kPlaybackBlockBytes);
    PointAt(header, blocks_[index], kPlaybackBlockBytes);
    waveOutPrepareHeader(device_, &header, sizeof header);
    waveOutWrite(device_, &header, sizeof header);
}

void WavePlayback::Close() {
    for (WAVEHDR& header : headers_) {
        if ((FlagsOf(header) & WHDR_PREPARED) != 0) {
            waveOutUnprepareHeader(device_, &header, sizeof header);
        }
        header = WAVEHDR{};
    }
    waveOutClose(device_);
    device_ = nullptr;
}

void WavePlayback::StartClock() {
    LARGE_INTEGER firstTick{};
    firstTick.QuadPart = -static_cast<LONGLONG>(kBlockMs) * 10000; // relative, in 100 ns units
    SetWaitableTimer(clock_, &firstTick, kBlockMs, nullptr, nullptr, FALSE);
}

void WavePlayback::WaitForClock() {
    // A timer that was not made or not set still leaves a pace, never a busy loop.
    if (clock_ == nullptr || WaitForSingleObject(clock_, 2 * kBlockMs) == WAIT_FAILED) {
        Sleep(kBlockMs);
    }
}

void WavePlayback::StopClock() {
    CancelWaitableTimer(clock_);
}
