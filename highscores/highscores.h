// The ten best totals and their players' names, the file that keeps them, and the decision
// whether a finished game enters them. Qt Core only: no widgets.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

class QByteArray;

namespace highscores {

inline constexpr int Slots = 10;         // the list is slots 1..10
inline constexpr int MaxNameLength = 10; // what the name box takes
inline const QString DefaultName = QStringLiteral("Mossgrovity");
inline const QString FileName = QStringLiteral("tavrinhs"); // in the current directory

// Two parallel arrays, slots 1..10 used; slot k of both is entry k. A name and its score
// always move together.
struct HighScoreTable
{
    std::array<QString, 13> hsnames {};
    std::array<std::int16_t, 13> hsscores {};
};

// Program-wide state shared by the windows.
struct Module1
{
    HighScoreTable table;
    std::int16_t gamescore = -1; // the finished game's total, -1 when none is pending
    std::int16_t lowestslot = 0; // the slot a qualifying total replaces
    QString enteredname;         // the name last accepted
};

// Every slot gets the default name and the score 0. The file is not touched.
void resethighscores(HighScoreTable &table);

// Sorts slots 1..10 by descending score, in place: Shell sort with gaps 5, 2, 1. The exact
// procedure matters: it fixes the order in which equal scores come out.
void sortHighScores(HighScoreTable &table);

// What loadhighscores found; start-up goes on the same way whatever it was.
enum class LoadOutcome {
    Read,         // ten records read
    Created,      // no file: created with ten default entries
    CreateFailed, // no file, and none could be created: the table holds the defaults
    Incomplete,   // reading stopped early; the items read so far replaced the old ones
};

// Reads the table from the file, or creates the file with default entries when it does not
// exist. Never reports anything to the player.
LoadOutcome loadhighscores(HighScoreTable &table, const QString &path = FileName);

// Reads items from file content into the table, slot by slot, name then score, until ten
// records are read or an item is bad. Returns the number of whole records read.
int parseHighScores(const QByteArray &content, HighScoreTable &table);

// The file content for the table: ten records "name",score with CR LF.
[[nodiscard]] QByteArray formatHighScores(const HighScoreTable &table);

// Replaces the file's content with the table. Atomic: the file on disk always holds either
// the old records or the new ones. Returns false when nothing could be written.
bool savehighscores(const HighScoreTable &table, const QString &path = FileName);

// The game's total enters the table when it beats the lowest entry (the first of equal lowest
// ones): the total replaces that entry's score at once, lowestslot names it, and the name
// stays the old one until accepted. Returns whether it entered.
bool admitScore(Module1 &module1);

// Stores an accepted name in the slot the last qualifying game replaced.
void acceptName(Module1 &module1, const QString &typed);

// What the name box lets through: characters the file can hold and read back unchanged
// (Latin-1, without the double quote and line breaks).
[[nodiscard]] QString storableName(const QString &typed);

} // namespace highscores
