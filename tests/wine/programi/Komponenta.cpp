// A COM-style component for the Wine tests. Registering it makes the key
// HKCU\Software\Lumivex\TestKomponenta\<variant> holding the path it was loaded from; unregistering
// deletes that key only. Each variant ("stara", "nova") has its own key, so a test sees which file's
// registration is left. Built with -DVARIJANTA=L"stara" (or L"nova").
#include <windows.h>

#ifndef VARIJANTA
#error "build with -DVARIJANTA=L\"...\""
#endif

namespace {

HINSTANCE modul = nullptr;

const wchar_t* Ključ()
{
    static wchar_t ključ[128];
    lstrcpyW(ključ, L"Software\\Lumivex\\TestKomponenta\\");
    lstrcatW(ključ, VARIJANTA);
    return ključ;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        modul = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
    wchar_t putanja[MAX_PATH];
    const DWORD duljina = GetModuleFileNameW(modul, putanja, MAX_PATH);
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Ključ(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return E_FAIL;
    const LONG r = RegSetValueExW(key, L"Putanja", 0, REG_SZ, reinterpret_cast<const BYTE*>(putanja),
                                  (duljina + 1) * sizeof(wchar_t));
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer()
{
    const LONG r = RegDeleteKeyW(HKEY_CURRENT_USER, Ključ());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
