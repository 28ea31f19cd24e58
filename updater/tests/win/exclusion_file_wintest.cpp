// The exclusion file on a real file system, next to the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/win/system_paths.h"
#include "discovery/win/exclusion_file.h"

namespace zu {
namespace {

namespace fs = std::filesystem;

class ExclusionFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(TemporaryFolder()) / "zu_exclusion_test";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = ExclusionFilePath(folder_.wstring() + L"\\");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
    std::wstring path_;
};

TEST_F(ExclusionFileTest, FileIsInDriversFolderAndNeedsIt) {
    EXPECT_EQ(path_, folder_.wstring() + L"\\DRIVERS\\Adapters.use");
    ExclusionTable table;
    AddExcludedAdapter(table, u"{AB}");
    EXPECT_FALSE(SaveExclusions(path_, table));  // no folder "DRIVERS"
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_FALSE(IsAdapterExcluded(LoadExclusions(path_), u"{AB}"));
}

TEST_F(ExclusionFileTest, WrittenFileReadsBackAndReplacesALongerOne) {
    fs::create_directories(folder_ / "DRIVERS");
    {
        std::ofstream longer(fs::path(path_), std::ios::binary);
        longer << std::string(9000, 'z');
    }
    ExclusionTable table;
    AddExcludedAdapter(table, u"{4D36E972-E325-11CE-BFC1-08002BE10318}");
    table.ExcludeActive = true;
    ASSERT_TRUE(SaveExclusions(path_, table));
    EXPECT_EQ(fs::file_size(path_), 6600u);
    const ExclusionTable read = LoadExclusions(path_);
    EXPECT_EQ(read.ExcludedAdapters, table.ExcludedAdapters);
    EXPECT_TRUE(read.ExcludeActive);
}

TEST_F(ExclusionFileTest, FileOfWrongSizeIsNotTrusted) {
    fs::create_directories(folder_ / "DRIVERS");
    ExclusionTable table;
    AddExcludedAdapter(table, u"{AB}");
    table.ExcludeActive = true;
    std::vector<std::uint8_t> bytes = SerializeExclusions(table);
    bytes.push_back(0);
    {
        std::ofstream file(fs::path(path_), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const ExclusionTable read = LoadExclusions(path_);
    EXPECT_FALSE(read.ExcludeActive);
    EXPECT_FALSE(IsAdapterExcluded(read, u"{AB}"));
}

}  // namespace
}  // namespace zu
