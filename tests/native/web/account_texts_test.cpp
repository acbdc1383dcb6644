#include "web/account_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::span<const std::uint8_t> Body(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ExtractTag, TakesTheFirstElementThatFits) {
    struct Case {
        std::string body;
        const char* expected; // what a destination holding "old" ends with
    };
    const std::string fits(63, 'a');
    const Case cases[] = {
        {"<VILLE>Lyon</VILLE><VILLE>Nice</VILLE>", "Lyon"},
        {"</VILLE>x<VILLE>Lyon</VILLE>", "Lyon"},
        {"<VILLE></VILLE>", ""},
        {"<VILLE>Lyon", "old"},
        {"<VILLE>Lyon</VILLE", "old"},
        {"<ville>Lyon</ville>", "old"},
        {"<VILLE>" + fits + "</VILLE>", fits.c_str()},
        {"<VILLE>" + fits + "a</VILLE>", "old"},
        {std::string("<VILLE>Ly\0on</VILLE>", 20), "old"}, // the text ends at its first 0 byte
    };
    for (const Case& c : cases) {
        char town[64] = "old";
        ExtractTag(Body(c.body), "VILLE", town);
        EXPECT_STREQ(town, c.expected) << c.body;
    }
}

TEST(ExtractTag, ReadsNothingBeyondTheBody) {
    const std::string held = "<VILLE>Lyon</VILLE>";
    char town[64] = "old";
    ExtractTag(Body(held).first(held.size() - 1), "VILLE", town);
    EXPECT_STREQ(town, "old");
}

TEST(ReplaceEacuteEntity, DecodesOnlyTheWholeEntity) {
    char name[64] = "Ren&#xE9;";
    ReplaceEacuteEntity(name);
    EXPECT_STREQ(name, "Ren\xC3\xA9");
    char cut[64] = "&#xE9;&#xE9&#xe9;";
    ReplaceEacuteEntity(cut);
    EXPECT_STREQ(cut, "\xC3\xA9&#xE9&#xe9;");
}

TEST(OwnDetails, KeepWhatClientXmlLacks) {
    OwnDetails details;
    std::strcpy(details.email, "old@example.net");
    ReadOwnDetails(Body("<PRENOM>Ren&#xE9;</PRENOM><VILLE>Li&#xE9;ge</VILLE><FOLDER>f</FOLDER>"), details);
    EXPECT_STREQ(details.firstName, "Ren\xC3\xA9");
    EXPECT_STREQ(details.town, "Li\xC3\xA9ge");
    EXPECT_STREQ(details.folder, "f");
    EXPECT_STREQ(details.email, "old@example.net");
}

TEST(SpeakerDetails, AMissingTagShowsEmpty) {
    const SpeakerDetails details =
        ReadSpeakerDetails(Body("<PRENOM>Zo&#xE9;</PRENOM><PHRASE>Salut</PHRASE>"));
    EXPECT_STREQ(details.firstName, "Zo\xC3\xA9");
    EXPECT_STREQ(details.town, "");
    EXPECT_STREQ(details.phrase, "Salut");
}

std::string IdentificationReply(const std::string& characters) {
    return std::string(34, '#') + characters;
}

TEST(AccountNumber, IsReadFromTheFiveCharactersAtOffset34) {
    EXPECT_EQ(ReadAccountNumber(Body(IdentificationReply("01234"))), 1234);
    EXPECT_EQ(ReadAccountNumber(Body(IdentificationReply("70000 and more"))), 4464); // kept to 16 bits
    EXPECT_EQ(ReadAccountNumber(Body(IdentificationReply(" 42x9"))), 42);
    EXPECT_EQ(ReadAccountNumber(Body(IdentificationReply("abcde"))), 0);
}

TEST(BackgroundColour, IsTheHexadecimalColourRefOrNothing) {
    EXPECT_EQ(ReadBackgroundColour(Body("<BACKGROUND>FF8000</BACKGROUND>")), 0xFF8000u);
    EXPECT_EQ(ReadBackgroundColour(Body("<BACKGROUND> 0x0000FF</BACKGROUND>")), 0x0000FFu);
    EXPECT_EQ(ReadBackgroundColour(Body("<BACKGROUND>FFFFFFFFFF</BACKGROUND>")), 0x7FFFFFFFu);
}

} // namespace
