#include "app/save_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace zu {
namespace {

class SaveLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zu_save_log_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static std::string Bytes(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path dir_;
};

TEST_F(SaveLogTest, AppendsTwiceAndKeepsLineEndsExact) {
    const auto file = dir_ / "log.log";
    const std::string text = "line one\r\nline \xE7 two";
    ASSERT_EQ(AppendLogFile(file, text), SaveLogResult::Saved);
    ASSERT_EQ(AppendLogFile(file, text), SaveLogResult::Saved);
    EXPECT_EQ(Bytes(file), text + text);
}

TEST_F(SaveLogTest, FailuresAreReported) {
    EXPECT_EQ(AppendLogFile(dir_, "x"), SaveLogResult::OpenFailed);                  // a directory
    EXPECT_EQ(AppendLogFile(dir_ / "missing" / "x.log", "x"), SaveLogResult::OpenFailed);
#ifdef __linux__
    // A device that takes no data: the failure shows only when writing.
    EXPECT_EQ(AppendLogFile("/dev/full", std::string(100000, 'x')), SaveLogResult::WriteFailed);
#endif
}

}  // namespace
}  // namespace zu
