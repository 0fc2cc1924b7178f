#pragma once

struct Okruzenje;

// Returns after at least `sekundi` seconds while the window goes on processing its events; zero or a
// negative number returns at once.
void Čekaj(Okruzenje& o, int sekundi);
