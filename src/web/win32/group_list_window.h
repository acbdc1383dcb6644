#pragma once

// Opens the group list window ("Zelvora Group List": the members' pictures of every named channel, one row
// each, refreshed a row a second), or asks it to close when it is open. 0 when it cannot be created.
int OpenGroupList();
