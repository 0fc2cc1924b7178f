#pragma once

// The file-system port's promise that a move never replaces a file, held against a file that appears
// under the target's name while the move runs, as a file made by another program on a shared folder
// would: in each round a second thread creates "b.txt" as a new file only (never over another) at
// about the moment a move of "a.txt" to "b.txt" starts, a little earlier or later from round to
// round; in every `settledEvery`-th round the move starts only once the creation has ended, so both
// orders come up whatever the machine's load. Exactly one of the two may get the name: when the move does,
// the creation fails; when the creation does, the move fails with `text` and "a.txt" keeps its bytes. Both
// the Linux file system and the Windows body run it.
namespace contract {

struct MoveRace {
    int rounds;
    int widestOffset;  // the creation starts up to this many spins of a counter before or after the move
    int settledEvery;
    const char* moved;
    const char* created;
    const char* text;
};

inline constexpr MoveRace kMoveRace = {2000, 6000, 10, "PREMJEŠTENA", "NOVA", "Datoteka već postoji."};

// The spins of round `round`, from -widestOffset to +widestOffset: negative delays the move, positive
// the creation.
constexpr int MoveRaceOffset(const MoveRace& race, int round)
{
    return -race.widestOffset + static_cast<int>(static_cast<long long>(round) * 2 * race.widestOffset /
                                                 (race.rounds > 1 ? race.rounds - 1 : 1));
}

constexpr bool MoveRaceWaitsForTheCreation(const MoveRace& race, int round)
{
    return round % race.settledEvery == 0;
}

}  // namespace contract
