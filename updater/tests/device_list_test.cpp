#include "discovery/device_list.h"
#include "discovery/scan_reply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zu {
namespace {

std::string Reply(const std::string& code, const std::string& serial) {
    return "TARGET|ZU-INSTRUMENT-CONTROLLER|ABC" + code + "|" + serial + "|FW 3.1";
}

struct Scan {
    DeviceList list;
    std::vector<std::string> devicesPage;
    std::vector<std::string> warnings;

    void Receive(const std::string& datagram, const std::string& sender, std::int32_t filter) {
        const ScanReplyEffect effect =
            HandleScanReply(datagram.data(), datagram.size(), sender, filter, "available", list);
        if (!effect.DevicesLine.empty()) devicesPage.push_back(effect.DevicesLine);
        if (!effect.WarningMessage.empty()) warnings.push_back(effect.WarningMessage);
    }
    std::vector<std::string> ListTexts() const {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < list.Count(); ++i) texts.push_back(list.Entry(i).Text);
        return texts;
    }
};

TEST(ScanReply, EveryFamilyIsWrittenAndListedWithoutFilter) {
    Scan scan;
    scan.Receive(Reply("P4", "1001"), "10.0.1.11", 0);
    scan.Receive(Reply("P4A", "1002"), "10.0.1.12", 0);
    scan.Receive(Reply("P5", "1003"), "10.0.1.13", 0);
    scan.Receive(Reply("P5A", "1004"), "10.0.1.14", 0);
    scan.Receive(Reply("P4R", "1005"), "10.0.1.15", 0);
    scan.Receive(Reply("P4RA", "1006"), "10.0.1.16", 0);
    EXPECT_EQ(scan.devicesPage, (std::vector<std::string>{
        "Brenmar Tornel Zu: 10.0.1.11 - SN:1001\tavailable",
        "Brenmar Tornel Zu Air: 10.0.1.12 - SN:1002\tavailable",
        "Brenmar Kesto Zu: 10.0.1.13 - SN:1003\tavailable",
        "Brenmar Kesto Zu Air: 10.0.1.14 - SN:1004\tavailable",
        "Brenmar Tornel Zu (2): 10.0.1.15 - SN:1005\tavailable",
        "Brenmar Tornel Zu Air (2): 10.0.1.16 - SN:1006\tavailable",
    }));
    EXPECT_EQ(scan.ListTexts(), (std::vector<std::string>{
        "TNZu - URL: 10.0.1.11 SN: 1001",
        "TNZuAir - URL: 10.0.1.12 SN: 1002",
        "KestoZu - URL: 10.0.1.13 SN: 1003",
        "KestoZuAir - URL: 10.0.1.14 SN: 1004",
        "TNZu (3) - URL: 10.0.1.15 SN: 1005",
        "TNZuAir (2) - URL: 10.0.1.16 SN: 1006",
    }));
    EXPECT_TRUE(scan.warnings.empty());
}

TEST(ScanReply, TypeFilterKeepsKestoDevicesOffTheListButOnThePage) {
    struct Case {
        std::int32_t filter;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {0, {"TNZu - URL: 10.0.2.1 SN: A", "KestoZu - URL: 10.0.2.3 SN: C",
             "KestoZuAir - URL: 10.0.2.4 SN: D"}},
        {5, {"TNZu - URL: 10.0.2.1 SN: A", "KestoZu - URL: 10.0.2.3 SN: C"}},
        {6, {"TNZu - URL: 10.0.2.1 SN: A", "KestoZuAir - URL: 10.0.2.4 SN: D"}},
        {3, {"TNZu - URL: 10.0.2.1 SN: A"}},
    };
    for (const Case& c : cases) {
        Scan scan;
        scan.Receive(Reply("P4", "A"), "10.0.2.1", c.filter);
        scan.Receive(Reply("P5", "C"), "10.0.2.3", c.filter);
        scan.Receive(Reply("P5A", "D"), "10.0.2.4", c.filter);
        EXPECT_EQ(scan.ListTexts(), c.listed) << c.filter;
        EXPECT_EQ(scan.devicesPage.size(), 3u) << c.filter;
    }
}

TEST(ScanReply, OnlyMalformedDatagramsWarnAndNothingElseIsWritten) {
    Scan scan;
    scan.Receive(std::string("DISCOVER\0", 9), "10.0.3.1", 0);
    scan.Receive("DISCOVER!", "10.0.3.2", 0);
    scan.Receive("TARGET ABCDEFGHIJ|XYZQ9|SN1234567|ABCDEFGHIJKLM", "10.0.3.3", 0);
    scan.Receive("TARGET short|P5A", "10.0.3.4", 0);
    EXPECT_EQ(scan.warnings,
              (std::vector<std::string>{"Malformed response 'DISCOVER!' from 10.0.3.2"}));
    EXPECT_TRUE(scan.devicesPage.empty());
    EXPECT_EQ(scan.list.Count(), 0u);
}

TEST(ScanReply, SameDeviceThroughTwoAdaptersIsListedTwice) {
    Scan scan;
    scan.Receive(Reply("P5A", "77"), "10.0.4.2", 0);
    scan.Receive(Reply("P5A", "77"), "10.0.4.2", 0);
    EXPECT_EQ(scan.list.Count(), 2u);
}

TEST(DeviceObject, RecordHoldsTheFamilyValues) {
    struct Case {
        const char* code;
        std::int16_t type;
        std::int32_t target2, target4;
        const char* fileName;
    };
    const Case cases[] = {
        {"P4", 1, 0, 0, ""},          {"P4A", 2, 0, 0, ""},
        {"P5", 3, 50, 51, "Firmware"}, {"P5A", 4, 50, 51, "Firmware"},
        {"P4R", 5, 50, 0, "Firmware"}, {"P4RA", 6, 50, 0, "Firmware"},
    };
    for (const Case& c : cases) {
        const t_DeviceObject record = MakeDeviceObject(*FindFamily(c.code), "192.168.100.200");
        EXPECT_STREQ(record.IpAndCode, (std::string("192.168.100.200|") + c.code).c_str());
        EXPECT_EQ(record.DeviceType, c.type) << c.code;
        EXPECT_EQ(record.UploadTarget2, c.target2) << c.code;
        EXPECT_EQ(record.UploadTarget4, c.target4) << c.code;
        EXPECT_STREQ(record.UploadFileName, c.fileName);
    }
    // The address is the sender's dotted text, but the record never overflows.
    const t_DeviceObject record = MakeDeviceObject(*FindFamily("P5"), std::string(300, '9'));
    EXPECT_EQ(std::strlen(record.IpAndCode), sizeof record.IpAndCode - 1);
}

DeviceList ListOf(const char* code, const char* address) {
    DeviceList list;
    list.Add("entry", std::make_unique<t_DeviceObject>(MakeDeviceObject(*FindFamily(code), address)));
    list.Select(0);
    return list;
}

TEST(SelectedDevice, AccessorsReadTheSelectedRecord) {
    const DeviceList kesto = ListOf("P5A", "10.0.5.9");
    EXPECT_EQ(SelectedDeviceType(kesto), 4);
    EXPECT_EQ(SelectedDeviceAddress(kesto), "10.0.5.9");
    EXPECT_EQ(SelectedDeviceCode(kesto), "P5A");
    const struct {
        int controller;
        std::int32_t target;
        const char* fileName;
        bool binary;
    } controllers[] = {
        {1, 0, "", false}, {2, 50, "Firmware", true}, {3, 0, "", false},
        {4, 51, "Firmware", true}, {0, 0, "", false}, {5, 0, "", false},
    };
    for (const auto& c : controllers) {
        EXPECT_EQ(SelectedUploadTarget(kesto, c.controller), c.target) << c.controller;
        EXPECT_EQ(SelectedUploadFileName(kesto, c.controller), c.fileName) << c.controller;
        EXPECT_EQ(UsesBinaryUpload(kesto, c.controller), c.binary) << c.controller;
    }
    // Types 1 and 2 take firmware through the boot loader only.
    for (const char* code : {"P4", "P4A"}) {
        EXPECT_FALSE(UsesBinaryUpload(ListOf(code, "10.0.5.1"), 2)) << code;
        EXPECT_EQ(SelectedUploadFileName(ListOf(code, "10.0.5.1"), 2), "") << code;
    }
    for (const char* code : {"P4R", "P4RA"}) {
        EXPECT_TRUE(UsesBinaryUpload(ListOf(code, "10.0.5.1"), 4)) << code;
        EXPECT_EQ(SelectedUploadTarget(ListOf(code, "10.0.5.1"), 4), 0) << code;
    }
}

TEST(SelectedDevice, NothingSelectedOrNoRecordGivesZeroAndEmpty) {
    DeviceList empty;
    DeviceList unselected = ListOf("P5", "10.0.6.1");
    unselected.Select(-1);
    DeviceList outOfRange = ListOf("P5", "10.0.6.1");
    outOfRange.Select(1);
    DeviceList withoutRecord;
    withoutRecord.Add("no record", nullptr);
    withoutRecord.Select(0);
    DeviceList cleared = ListOf("P5", "10.0.6.1");
    cleared.Clear();
    for (const DeviceList* list : {&empty, &unselected, &outOfRange, &withoutRecord, &cleared}) {
        EXPECT_EQ(SelectedDeviceType(*list), 0);
        EXPECT_EQ(SelectedDeviceAddress(*list), "");
        EXPECT_EQ(SelectedDeviceCode(*list), "");
        EXPECT_EQ(SelectedUploadTarget(*list, 2), 0);
        EXPECT_EQ(SelectedUploadFileName(*list, 2), "");
        EXPECT_FALSE(UsesBinaryUpload(*list, 2));
    }
    EXPECT_EQ(cleared.Count(), 0u);
}

TEST(SelectedDevice, RecordTextsAreReadWithinTheirFields) {
    // A record is plain data; one without terminators must not be read past.
    auto record = std::make_unique<t_DeviceObject>();
    std::memset(record.get(), 'Q', sizeof *record);
    std::memcpy(record->IpAndCode, "10.0.7.1|P5|X", 13);
    DeviceList list;
    list.Add("raw", std::move(record));
    list.Select(0);
    EXPECT_EQ(SelectedDeviceAddress(list), "10.0.7.1");
    EXPECT_EQ(SelectedDeviceCode(list), "P5");
    EXPECT_EQ(SelectedUploadFileName(list, 2), std::string(100, 'Q'));
}

}  // namespace
}  // namespace zu
