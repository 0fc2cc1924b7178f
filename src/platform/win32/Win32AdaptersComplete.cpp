// Every adapter must implement the whole of its port: one that lacks a call is abstract, and this file
// stops the build, on Linux too, where the adapters are compiled but never put together.
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MachineInfo.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SettingsStore.h"
#include "platform/win32/Win32WindowFinder.h"

#include <type_traits>

static_assert(!std::is_abstract_v<Win32FileSystem>, "Win32FileSystem lacks a call of FileSystem");
static_assert(!std::is_abstract_v<Win32MachineInfo>, "Win32MachineInfo lacks a call of MachineInfo");
static_assert(!std::is_abstract_v<Win32ProcessRunner>, "Win32ProcessRunner lacks a call of ProcessRunner");
static_assert(!std::is_abstract_v<Win32Registry>, "Win32Registry lacks a call of Registry");
static_assert(!std::is_abstract_v<Win32SettingsStore>, "Win32SettingsStore lacks a call of SettingsStore");
static_assert(!std::is_abstract_v<Win32WindowFinder>, "Win32WindowFinder lacks a call of WindowFinder");
