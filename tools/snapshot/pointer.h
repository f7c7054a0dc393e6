#pragma once
// Keeping the mouse pointer off the windows under test, so that hover handling changes nothing.

namespace snapshot {

// Moves the pointer near the top-left corner of the screen and waits briefly until the system
// reports it there. (Wine on X ignores a move to exactly 0,0.) False when it does not stick.
bool parkPointer();

} // namespace snapshot
