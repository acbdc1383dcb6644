#include "app/win32/peripheral_states.h"

#include "app/lives_for_the_run.h"

SynthLink& Synth() {
    return LivesForTheRun<SynthLink>();
}

AccessoryRunFlags& Accessory() {
    return LivesForTheRun<AccessoryRunFlags>();
}

UsbIconView& UsbIconOnWindow() {
    return LivesForTheRun<UsbIconView>();
}
