// Compiled only to fail: net's library gives no access to app's headers.
#include "app/main_window_layout.h"

int main() {
    return 0;
}
