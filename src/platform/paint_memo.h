#pragma once

// What a painter drew last, so that a tick whose inputs are unchanged leaves the screen alone. Anything that
// may have wiped the window (an exposure) counts as a change: the next tick draws again.
template <typename Inputs> class PaintMemo {
  public:
    // True when the painter must draw `inputs`; the memo then takes them as drawn (checked before the device
    // context is asked for: under Wine each costs a round trip to the server).
    bool ShouldPaint(const Inputs& inputs, unsigned exposures) {
        if (drawn_ && exposures == exposures_ && inputs == last_) {
            return false;
        }
        drawn_ = true;
        exposures_ = exposures;
        last_ = inputs;
        return true;
    }

    // The painter could not draw after all: the next tick tries again.
    void Forget() { drawn_ = false; }

  private:
    bool drawn_ = false;
    unsigned exposures_ = 0;
    Inputs last_{};
};
