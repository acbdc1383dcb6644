#pragma once

// Opens the network window ("Zelvora Network": the pictures of the current channel's members in a 4 x 4
// grid), or asks it to close when it is open; does nothing with no channel selected. 0 when it cannot be
// created.
int OpenNetworkWindow();

enum class GridPass {
    Tick = 0,    // draws only when the channel's member count changed since the last tick that drew
    Repaint = 1, // always draws
};

// Draws the current channel's members, or closes the window once the user has left the channels.
void DrawNetworkMembers(GridPass pass);
