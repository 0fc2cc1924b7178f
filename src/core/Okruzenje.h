#pragma once

#include "core/Naslov.h"
#include "core/ProzorModel.h"
#include "core/Stanje.h"
#include "core/Zapisnik.h"

class FileSystem;
class SettingsStore;
class Clock;
class MachineInfo;
class Dialogs;
class ProcessRunner;
class HttpTransfer;
class WindowFinder;
class Registry;

// Everything a procedure works with: the platform's ports, the shared state and what the window
// shows. One object is made at start-up (or by a test) and handed to every procedure.
struct Okruzenje {
    FileSystem& fs;
    SettingsStore& postavke;
    Clock& sat;
    MachineInfo& računalo;
    Dialogs& dijalozi;
    ProcessRunner& procesi;
    HttpTransfer& http;
    WindowFinder& prozori;
    Registry& registar;

    ProzorModel& model;
    Stanje& stanje;

    // The log, over the environment's own file system, clock and dialogs.
    Zapisnik log{fs, sat, računalo, dijalozi};
};
