// A window program for the Wine tests: "Prozor.exe [--ansi] CAPTION" opens one top-level window with
// that caption and runs until the window is closed. With --ansi the caption is set through the ANSI
// interface in code page 1250, as the suite's programs do, so it reads right only where Wine's ANSI
// code page is 1250.
#include <windows.h>

#include <shellapi.h>

namespace {

LRESULT CALLBACK Postupak(HWND prozor, UINT poruka, WPARAM w, LPARAM l)
{
    if (poruka == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(prozor, poruka, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const bool ansi = argc >= 3 && lstrcmpW(argv[1], L"--ansi") == 0;
    const wchar_t* naslov = argc >= 2 ? argv[argc - 1] : L"Prozor";

    WNDCLASSW klasa = {};
    klasa.lpfnWndProc = Postupak;
    klasa.hInstance = instance;
    klasa.lpszClassName = L"LumivexTestProzor";
    RegisterClassW(&klasa);
    HWND prozor =
        CreateWindowExW(0, klasa.lpszClassName, ansi ? L"" : naslov, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!prozor)
        return 1;
    if (ansi) {
        char bajtovi[512];
        const int n = WideCharToMultiByte(1250, 0, naslov, -1, bajtovi, sizeof bajtovi, nullptr, nullptr);
        if (n <= 0)
            return 2;
        SetWindowTextA(prozor, bajtovi);
    }
    ShowWindow(prozor, SW_SHOWNORMAL);
    UpdateWindow(prozor);

    MSG poruka;
    while (GetMessageW(&poruka, nullptr, 0, 0) > 0) {
        TranslateMessage(&poruka);
        DispatchMessageW(&poruka);
    }
    return 0;
}
