#include "discovery/discovery_reply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zu {
namespace {

DiscoveryReply Parse(const std::string& datagram) {
    return ParseDiscoveryReply(datagram.data(), datagram.size());
}

// "TARGET", a separator, then fields joined by "|".
std::string Reply(const std::string& body) { return "TARGET " + body; }

TEST(DiscoveryReply, FamilyCodesAreMatchedInTableOrder) {
    struct Case {
        const char* codeField;
        std::int16_t type;
        const char* display;
    };
    const Case cases[] = {
        {"XYZP4", 1, "Brenmar Tornel Zu"},
        {"XYZP4A", 2, "Brenmar Tornel Zu Air"},
        {"XYZP5", 3, "Brenmar Kesto Zu"},
        {"XYZP5A", 4, "Brenmar Kesto Zu Air"},
        {"XYZP4R", 5, "Brenmar Tornel Zu (2)"},
        {"XYZP4RA", 6, "Brenmar Tornel Zu Air (2)"},
        {"XYZP4RAX-7", 6, "Brenmar Tornel Zu Air (2)"},  // a prefix comparison
        {"XYZP4x", 1, "Brenmar Tornel Zu"},
    };
    for (const Case& c : cases) {
        const DiscoveryReply reply =
            Parse(Reply(std::string("ZUDEVICE|") + c.codeField + "|SN-000123|FW 2.10 build 77"));
        ASSERT_EQ(reply.Kind, ReplyKind::Device) << c.codeField;
        EXPECT_EQ(reply.Family->DeviceType, c.type) << c.codeField;
        EXPECT_STREQ(reply.Family->DisplayName, c.display) << c.codeField;
        EXPECT_EQ(reply.Serial, "SN-000123") << c.codeField;
    }
}

TEST(DiscoveryReply, RepliesWithoutUsableBodyOrFamilyAreIgnored) {
    const std::string thirtyChars = "ABCDEFGHIJ|XYZP5A|SN123|ABCDEF";
    ASSERT_EQ(thirtyChars.size(), 30u);
    const char* bodies[] = {
        "ABCDEFGHIJ|XYZP5A|SN123|ABCDEF",            // exactly 30 characters
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",      // no "|"
        "ABCDEFGHIJ|XYZQ9|SN1234567|ABCDEFGHIJKLM",  // unknown family
        "ABCDEFGHIJ|xyzp5a|SN1234567|ABCDEFGHIJKL",  // codes are case-sensitive
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789|",     // one field only
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ|P5A|SN12|x",     // the family code starts at the fourth character
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ|XYZ|P5A|SN12",   // code field of exactly three characters
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789|P5",   // code field of two, last in the datagram
        "||||||||||||||||||||||||||||||||||",        // only separators
    };
    for (const char* body : bodies) {
        EXPECT_EQ(Parse(Reply(body)).Kind, ReplyKind::Ignored) << body;
    }
}

TEST(DiscoveryReply, ShortCodeFieldAtTheEndIsNotReadPastItsEnd) {
    // The code field is the last thing received; a family code looked for
    // behind it would read whatever follows in memory.
    const std::string datagram = Reply("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123|P5");
    std::unique_ptr<char[]> exact(new char[datagram.size()]);
    std::memcpy(exact.get(), datagram.data(), datagram.size());
    EXPECT_EQ(ParseDiscoveryReply(exact.get(), datagram.size()).Kind, ReplyKind::Ignored);
}

TEST(DiscoveryReply, SerialNumberNeedsAFieldAfterIt) {
    EXPECT_EQ(Parse(Reply("ABCDEFGHIJ|XYZP5A|SN1234567890123456")).Serial, "");
    EXPECT_EQ(Parse(Reply("ABCDEFGHIJ|XYZP5A|SN12345678901234|x")).Serial,
              "SN12345678901234");
    // Runs of separators count as one, as strtok splits.
    EXPECT_EQ(Parse(Reply("||ABCDEFGHIJ|||XYZP4R||SN77|x||")).Serial, "SN77");
    EXPECT_EQ(Parse(Reply("||ABCDEFGHIJ|||XYZP4R||SN77|x||")).Family->DeviceType, 5);
}

TEST(DiscoveryReply, SeparatorByteAfterTagMayBeAnything) {
    std::string datagram = Reply("ABCDEFGHIJ|XYZP4A|SN1234567890|x");
    for (char separator : {'\0', '|', 'Q', '\xff'}) {
        datagram[6] = separator;
        EXPECT_EQ(Parse(datagram).Kind, ReplyKind::Device) << int(separator);
    }
}

TEST(DiscoveryReply, BodyEndsAtFirstZeroByte) {
    std::string datagram = Reply("ABCDEFGHIJ|XYZP4A|SN12345678901|x");
    datagram[20] = '\0';  // inside the body, before the 31st character
    EXPECT_EQ(Parse(datagram).Kind, ReplyKind::Ignored);
}

TEST(DiscoveryReply, OwnRequestIsRecognisedAndAnythingElseIsMalformed) {
    EXPECT_EQ(ParseDiscoveryReply(kDiscoveryRequest, sizeof kDiscoveryRequest).Kind,
              ReplyKind::OwnRequest);
    EXPECT_EQ(Parse("DISCOVER").Kind, ReplyKind::OwnRequest);
    struct Case {
        std::string datagram;
        const char* text;
    };
    const Case cases[] = {
        {"DISCOVERX", "DISCOVERX"},
        {"DISCOVE", "DISCOVE"},
        {"TARGET", "TARGET"},  // too short to have a body
        {"TARGE|ABCDEFGHIJ|XYZP5A|SN1234567890|x", "TARGE|ABCDEFGHIJ|XYZP5A|SN1234567890|x"},
        {std::string("HELLO\0WORLD", 11), "HELLO"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const DiscoveryReply reply = Parse(c.datagram);
        EXPECT_EQ(reply.Kind, ReplyKind::Malformed) << c.text;
        EXPECT_EQ(reply.Text, c.text);
    }
}

TEST(DiscoveryReply, LongDatagramIsReadFromItsFirst511Bytes) {
    const std::string head = Reply("ABCDEFGHIJ|XYZP5|");
    std::string serial(kMaxReplyBytes - head.size() - 2, 'S');
    const std::string datagram = head + serial + "|" + std::string(300, 'T');
    ASSERT_GT(datagram.size(), kMaxReplyBytes);
    const DiscoveryReply reply = Parse(datagram);
    ASSERT_EQ(reply.Kind, ReplyKind::Device);
    EXPECT_EQ(reply.Serial, serial);
    EXPECT_EQ(reply.Text, datagram.substr(0, kMaxReplyBytes));

    // Cut inside the serial field: no field follows it within 511 bytes.
    const std::string cut = head + std::string(600, 'S') + "|x";
    EXPECT_EQ(Parse(cut).Serial, "");
    EXPECT_EQ(Parse(cut).Text.size(), kMaxReplyBytes);
}

TEST(DiscoveryTexts, LinesAreBuiltWithoutFixedBuffers) {
    const DeviceFamily* family = FindFamily("P5A");
    ASSERT_NE(family, nullptr);
    EXPECT_EQ(DeviceFoundLine(*family, "10.1.0.2", "SN42", "available"),
              "Brenmar Kesto Zu Air: 10.1.0.2 - SN:SN42\tavailable");
    // Peer text may be as long as a datagram and hold '%'.
    const std::string serial = std::string(500, 'x') + "%s%n%d";
    EXPECT_EQ(DeviceFoundLine(*family, "10.1.0.2", serial, "verf\xfc" "gbar"),
              "Brenmar Kesto Zu Air: 10.1.0.2 - SN:" + serial + "\tverf\xfcgbar");
    EXPECT_EQ(MalformedReplyMessage(serial, "10.1.0.3"),
              "Malformed response '" + serial + "' from 10.1.0.3");
    EXPECT_EQ(DeviceListText(*family, "10.1.0.2", serial),
              "KestoZuAir - URL: 10.1.0.2 SN: " + serial);
}

TEST(AdapterSearch, SoughtDeviceIsAnyKnownInstrumentOrTheOneAtTheAddress) {
    const DiscoveryReply device = Parse(Reply("ABCDEFGHIJ|XYZP5|SN1234567890|x"));
    const DiscoveryReply unknown = Parse(Reply("ABCDEFGHIJ|XYZQ9|SN1234567890|x"));
    struct Case {
        const DiscoveryReply* reply;
        const char* sender;
        const char* sought;
        bool found;
    };
    const Case cases[] = {
        {&device, "10.0.8.2", nullptr, true},
        {&device, "10.0.8.2", "10.0.8.2", true},
        {&device, "10.0.8.2", "10.0.8.20", false},
        {&device, "10.0.8.20", "10.0.8.2", false},
        {&device, "host-A", "HOST-a", true},
        {&device, "10.0.8.2", "", false},
        {&unknown, "10.0.8.2", nullptr, false},
        {&unknown, "10.0.8.2", "10.0.8.2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSoughtDevice(*c.reply, c.sender, c.sought), c.found)
            << c.sender << " " << (c.sought ? c.sought : "(null)");
    }
}

}  // namespace
}  // namespace zu
