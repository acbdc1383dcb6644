#pragma once

// Opens the canvas, "Zelvora Echange et Partage", on the channel's shared image; closes it when it is open.
// Nothing happens while the user is on no channel.
void OpenCanvas();
