#pragma once

struct Okruzenje;

// Any close of the window writes the closing line to the log.
void ZatvoriProzor(Okruzenje& o);
