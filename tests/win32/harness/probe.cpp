// Lists, reads and drives the top-level windows of a Wine prefix for the end-to-end tests.
// Every answer is one JSON object per line, in UTF-8.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Message boxes keep their text in the static control with this identifier.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonHandle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "\"0x%llx\"",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

void WriteLine(const std::string& line) {
    const std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT, unlike GetWindowTextW, also reads the controls of another process.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::string Describe(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char numbers[240];
    std::snprintf(numbers, sizeof numbers,
                  "\"pid\":%lu,\"id\":%ld,\"x\":%ld,\"y\":%ld,\"width\":%ld,\"height\":%ld,\"clientX\":%ld,"
                  "\"clientY\":%ld,\"visible\":%s,\"enabled\":%s",
                  pid, static_cast<long>(GetWindowLongPtrW(window, GWLP_ID)), rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, client.x, client.y,
                  IsWindowVisible(window) ? "true" : "false", IsWindowEnabled(window) ? "true" : "false");
    // A message box's text comes with it: read apart, the box could be gone by the second reading.
    const HWND label = GetDlgItem(window, kMessageBoxTextId);
    const std::string text = label ? ",\"text\":" + JsonString(WindowText(label)) : std::string{};
    return "{\"hwnd\":" + JsonHandle(window) + ",\"owner\":" + JsonHandle(GetWindow(window, GW_OWNER)) +
           ",\"class\":" + JsonString(ClassName(window)) + ",\"title\":" + JsonString(WindowText(window)) +
           text + "," + numbers + "}";
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// A window named on the command line: "0x1f2" (a handle), "class:X" or "title:ZELVORA".
HWND FindNamed(const wchar_t* name) {
    if (std::wcsncmp(name, L"0x", 2) == 0) {
        const HWND window =
            reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(name + 2, nullptr, 16)));
        return IsWindow(window) ? window : nullptr;
    }
    if (std::wcsncmp(name, L"class:", 6) == 0) {
        return FindWindowW(name + 6, nullptr);
    }
    if (std::wcsncmp(name, L"title:", 6) == 0) {
        return FindWindowW(nullptr, name + 6);
    }
    return nullptr;
}

UINT Number(const wchar_t* text) {
    return static_cast<UINT>(std::wcstoul(text, nullptr, 0));
}

int ListWindows(HWND parent) {
    std::vector<HWND> windows;
    if (parent) {
        EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&windows));
    } else {
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
    }
    for (const HWND window : windows) {
        WriteLine(Describe(window));
    }
    return 0;
}

int BoxText(HWND box) {
    const HWND label = GetDlgItem(box, kMessageBoxTextId);
    WriteLine("{\"hwnd\":" + JsonHandle(box) + ",\"caption\":" + JsonString(WindowText(box)) +
              ",\"text\":" + JsonString(label ? WindowText(label) : std::wstring{}) + "}");
    return label ? 0 : 1;
}

int PressButton(HWND dialog, UINT id) {
    const HWND button = GetDlgItem(dialog, static_cast<int>(id));
    if (!button) {
        return 1;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return 0;
}

// Sends the window a message that does nothing and tells whether, and after how many milliseconds, its thread
// answered it.
int TimeAnswer(HWND window, UINT timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
    char line[64];
    std::snprintf(line, sizeof line, "{\"answered\":%s,\"ms\":%llu}", answered ? "true" : "false",
                  GetTickCount64() - start);
    WriteLine(line);
    return 0;
}

// A text given as hexadecimal UTF-16 code units, four digits each: a command line need not carry accents.
std::wstring FromHexUnits(const wchar_t* hex) {
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= std::wcslen(hex); i += 4) {
        const std::wstring unit(hex + i, 4);
        text += static_cast<wchar_t>(std::wcstoul(unit.c_str(), nullptr, 16));
    }
    return text;
}

// The pixels that a line of text centred in a rectangle of the window covers, drawn with the font of the
// window's own device context: one string per row of the rectangle, '#' for ink.
int TextInk(HWND window, RECT frame, const std::wstring& text) {
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const HDC windowDc = GetDC(window);
    if (!windowDc || width <= 0 || height <= 0) {
        return 1;
    }
    const HDC dc = CreateCompatibleDC(windowDc);
    const HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const HGDIOBJ oldFont = SelectObject(dc, GetCurrentObject(windowDc, OBJ_FONT));
    RECT area{0, 0, width, height};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    DrawTextW(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    std::string rows = "{\"rows\":[";
    for (int y = 0; y < height; ++y) {
        rows += y ? ",\"" : "\"";
        for (int x = 0; x < width; ++x) {
            rows += GetPixel(dc, x, y) == RGB(255, 255, 255) ? '#' : '.';
        }
        rows += '"';
    }
    WriteLine(rows + "]}");
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, windowDc);
    return 0;
}

int Usage() {
    std::fputs("usage: zelvora-probe windows [WINDOW] | text WINDOW | press WINDOW [ID] | close WINDOW |\n"
               "       post WINDOW MESSAGE [WPARAM [LPARAM]] | foreground WINDOW | answer WINDOW MS |\n"
               "       repaint WINDOW | ink WINDOW LEFT TOP RIGHT BOTTOM TEXT (hexadecimal UTF-16 units)\n"
               "WINDOW is a handle (0x1f2), class:NAME or title:TEXT\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::wstring command = argv[1];
    const HWND window = argc > 2 ? FindNamed(argv[2]) : nullptr;
    if (command == L"windows") {
        return argc > 2 && !window ? 1 : ListWindows(window);
    }
    if (argc < 3) {
        return Usage();
    }
    if (!window) {
        std::fwprintf(stderr, L"no window %ls\n", argv[2]);
        return 1;
    }
    if (command == L"text") {
        return BoxText(window);
    }
    if (command == L"press") {
        return PressButton(window, argc > 3 ? Number(argv[3]) : IDOK);
    }
    if (command == L"close") {
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"post" && argc > 3) {
        const WPARAM wparam = argc > 4 ? Number(argv[4]) : 0;
        const LPARAM lparam = argc > 5 ? static_cast<LPARAM>(Number(argv[5])) : 0;
        if (!PostMessageW(window, Number(argv[3]), wparam, lparam)) {
            std::fwprintf(stderr, L"PostMessage refused: error %lu\n", GetLastError());
            return 1;
        }
        return 0;
    }
    if (command == L"answer" && argc > 3) {
        return TimeAnswer(window, Number(argv[3]));
    }
    if (command == L"foreground") {
        return SetForegroundWindow(window) ? 0 : 1;
    }
    if (command == L"repaint") {
        // The whole window, background first, as when it is uncovered.
        return InvalidateRect(window, nullptr, TRUE) ? 0 : 1;
    }
    if (command == L"ink" && argc > 7) {
        const RECT frame{static_cast<LONG>(Number(argv[3])), static_cast<LONG>(Number(argv[4])),
                         static_cast<LONG>(Number(argv[5])), static_cast<LONG>(Number(argv[6]))};
        return TextInk(window, frame, FromHexUnits(argv[7]));
    }
    return Usage();
}
