// A library that is no COM component: it has no DllRegisterServer or DllUnregisterServer.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall Zbroj(int a, int b)
{
    return a + b;
}
