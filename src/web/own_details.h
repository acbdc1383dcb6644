#pragma once

// The account's own details, as client.xml gives them (UTF-8, terminated).
struct OwnDetails {
    char firstName[64] = {};
    char town[64] = {};
    char phrase[128] = {};
    char day[64] = {};
    char email[128] = {};
    char folder[64] = {};
};
