#include "web/win32/web_wiring.h"

WebWiring& Web() {
    static WebWiring wiring;
    return wiring;
}
