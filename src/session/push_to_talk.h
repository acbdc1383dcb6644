#pragma once

#include <atomic>
#include <mutex>

inline constexpr int kPttListen = 1;
inline constexpr int kPttTalk = 2;

// The two push-to-talk states and their lock. The key state is written by the space bar and by the
// synthesiser's key orders (the last writer wins); the accessory state by the USB-serial accessory alone. The
// user talks while either state is kPttTalk. The lock is held only around one read or write of the states.
class PushToTalk {
  public:
    void SetKeyState(int state);
    void SetAccessoryState(int state);
    // Called after every write of either state, on the writer's thread: the audio thread waits on it instead
    // of polling the keys.
    void SetChangeNotice(void (*notice)());
    bool IsUserTalking() const;
    int KeyState() const;
    int AccessoryState() const;

  private:
    void Notify() const;

    mutable std::mutex pttLock_;
    int pttKeyState_ = kPttListen;
    int pttSerialState_ = kPttListen;
    std::atomic<void (*)()> changeNotice_{nullptr};
};
