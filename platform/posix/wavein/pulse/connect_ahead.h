// Lets the program's one sound-server connection be made while the rest of start-up goes on
// (the window system's connection, the pictures): the first wave-input call then finds it made,
// or waits only for what is left of it, never longer than it would have waited anyway.
#pragma once

void ConnectToSoundServerAhead();
