#include "session/push_to_talk.h"

void PushToTalk::SetKeyState(int state) {
    {
        const std::lock_guard<std::mutex> hold(pttLock_);
        pttKeyState_ = state;
    }
    Notify();
}

void PushToTalk::SetAccessoryState(int state) {
    {
        const std::lock_guard<std::mutex> hold(pttLock_);
        pttSerialState_ = state;
    }
    Notify();
}

void PushToTalk::SetChangeNotice(void (*notice)()) {
    changeNotice_.store(notice, std::memory_order_release);
}

void PushToTalk::Notify() const {
    if (void (*notice)() = changeNotice_.load(std::memory_order_acquire)) {
        notice();
    }
}

bool PushToTalk::IsUserTalking() const {
    const std::lock_guard<std::mutex> hold(pttLock_);
    return pttKeyState_ == kPttTalk || pttSerialState_ == kPttTalk;
}

int PushToTalk::KeyState() const {
    const std::lock_guard<std::mutex> hold(pttLock_);
    return pttKeyState_;
}

int PushToTalk::AccessoryState() const {
    const std::lock_guard<std::mutex> hold(pttLock_);
    return pttSerialState_;
}
