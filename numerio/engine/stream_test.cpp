// The stream functions through the exported interface: modes, line ends,
// encodings, positions across pushback, and refusal of foreign streams.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "numerio.h"

namespace {

namespace fs = std::filesystem;

class StreamFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("numerio-stream-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        path_ = (dir_ / "data.txt").string();
        wpath_ = (dir_ / "data.txt").wstring();
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void put_bytes(const std::string& b) const {
        std::ofstream out(path_, std::ios::binary);
        out << b;
    }

    fs::path dir_;
    std::string path_;
    std::wstring wpath_;
};

TEST_F(StreamFile, NarrowTextRoundTripWritesCrLfAndReadsBack) {
    void* f = fopen_CL(path_.c_str(), "w+");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fprintf_CL(f, "%.3f;%d\n%s\n", 1234.5, 7, "end"), 15);
    EXPECT_EQ(ftell_CL(f), 17);  // two line ends of two bytes each
    ASSERT_EQ(fseek_CL(f, 0, SEEK_SET), 0);
    double d = 0;
    int i = 0;
    char word[8] = {};
    EXPECT_EQ(fscanf_CL(f, "%lf;%d %7s", &d, &i, word), 3);
    EXPECT_EQ(d, 1234.5);
    EXPECT_EQ(i, 7);
    EXPECT_STREQ(word, "end");
    EXPECT_EQ(fscanf_CL(f, "%7s", word), EOF);
    EXPECT_EQ(fclose_CL(f), 0);
    EXPECT_EQ(bytes(), "1234.500;7\r\nend\r\n");
}

TEST_F(StreamFile, BinaryModeKeepsLineEnds) {
    void* f = fopen_CL(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fprintf_CL(f, "a\nb\r\n");
    fclose_CL(f);
    EXPECT_EQ(bytes(), "a\nb\r\n");
}

TEST_F(StreamFile, TellCountsThePushedBackCharacter) {
    put_bytes("12 34\r\n56");
    void* f = fopen_CL(path_.c_str(), "r");
    ASSERT_NE(f, nullptr);
    int a = 0, b = 0, c = 0;
    ASSERT_EQ(fscanf_CL(f, "%d", &a), 1);
    EXPECT_EQ(ftell_CL(f), 2);  // the blank after 12 was read and given back
    ASSERT_EQ(fscanf_CL(f, "%d", &b), 1);
    EXPECT_EQ(ftell_CL(f), 5);  // the "\r\n" after 34 is one pushed-back '\n' of two bytes
    ASSERT_EQ(fscanf_CL(f, "%d", &c), 1);
    EXPECT_EQ(a * 10000 + b * 100 + c, 123456);
    ASSERT_EQ(fseek_CL(f, -2, SEEK_END), 0);
    ASSERT_EQ(fscanf_CL(f, "%d", &c), 1);
    EXPECT_EQ(c, 56);
    fclose_CL(f);
}

TEST_F(StreamFile, LinesSplitAcrossTheBufferReadBackWhole) {
    // 3000 text lines cross several 4 KiB buffers, so some "\r\n" pairs
    // straddle a refill.
    void* f = fopen_CL(path_.c_str(), "w");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 3000; ++i) ASSERT_GT(fprintf_CL(f, "%d,%.2f\n", i, i / 4.0), 0);
    long written = ftell_CL(f);
    ASSERT_EQ(fclose_CL(f), 0);
    EXPECT_EQ(static_cast<long>(bytes().size()), written);

    f = fopen_CL(path_.c_str(), "r");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 3000; ++i) {
        int n = -1;
        double v = -1;
        ASSERT_EQ(fscanf_CL(f, "%d,%lf", &n, &v), 2) << "line " << i;
        ASSERT_EQ(n, i);
        ASSERT_EQ(v, i / 4.0);
    }
    EXPECT_EQ(fscanf_CL(f, "%d", &written), EOF);
    fclose_CL(f);
}

TEST_F(StreamFile, AppendWritesAtTheEndWhateverThePosition) {
    put_bytes("head\r\n");
    void* f = fopen_CL(path_.c_str(), "a+");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fseek_CL(f, 0, SEEK_SET), 0);
    char word[8] = {};
    ASSERT_EQ(fscanf_CL(f, "%7s", word), 1);
    EXPECT_STREQ(word, "head");
    ASSERT_EQ(fseek_CL(f, 0, SEEK_SET), 0);
    fprintf_CL(f, "tail\n");
    fclose_CL(f);
    EXPECT_EQ(bytes(), "head\r\ntail\r\n");
}

TEST_F(StreamFile, WideBytesRoundTripThroughWideFunctions) {
    void* f = _tfopen_CL(wpath_.c_str(), L"w+");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fwprintf_CL(f, L"%.2f %s %d\n", 2.5, L"\u00e9t\u00e9", -3), 12);
    ASSERT_EQ(_tfseek_CL(f, 0, SEEK_SET), 0);
    double d = 0;
    wchar_t word[8] = {};
    int i = 0;
    EXPECT_EQ(fwscanf_CL(f, L"%lf %7s %d", &d, word, &i), 3);
    EXPECT_EQ(d, 2.5);
    EXPECT_STREQ(word, L"\u00e9t\u00e9");
    EXPECT_EQ(i, -3);
    EXPECT_EQ(_tftell_CL(f), 11);  // before the pushed-back line end
    EXPECT_EQ(_tfclose_CL(f), 0);
    EXPECT_EQ(bytes(), "2.50 \xe9t\xe9 -3\r\n");
}

TEST_F(StreamFile, WideCharacterWithoutAByteIsAnEncodingError) {
    void* f = _tfopen_CL(wpath_.c_str(), L"w");
    ASSERT_NE(f, nullptr);
    errno = 0;
    EXPECT_EQ(fwprintf_CL(f, L"x\u20acy"), -1);
    EXPECT_EQ(errno, EILSEQ);
    fclose_CL(f);
}

struct EncodedCase {
    const wchar_t* mode;
    std::string expected_bytes;
};

class StreamEncoding : public StreamFile, public ::testing::WithParamInterface<EncodedCase> {};

TEST_P(StreamEncoding, WritesMarkAndUnitsAndReadsBackUnderUnicode) {
    void* f = _tfopen_CL(wpath_.c_str(), GetParam().mode);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fwprintf_CL(f, L"%s=%.1f\n", L"\u20ac", 0.5), 6);
    // A Unicode stream takes no narrow text.
    errno = 0;
    EXPECT_EQ(fprintf_CL(f, "x"), -1);
    EXPECT_EQ(errno, EINVAL);
    ASSERT_EQ(_tfclose_CL(f), 0);
    EXPECT_EQ(bytes(), GetParam().expected_bytes);

    f = _tfopen_CL(wpath_.c_str(), L"r, ccs=UNICODE");
    ASSERT_NE(f, nullptr);
    wchar_t sign[4] = {};
    double v = 0;
    EXPECT_EQ(fwscanf_CL(f, L"%3[^=]=%lf", sign, &v), 2);
    EXPECT_STREQ(sign, L"\u20ac");
    EXPECT_EQ(v, 0.5);
    _tfclose_CL(f);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, StreamEncoding,
    ::testing::Values(EncodedCase{L"w, ccs=UTF-8", std::string("\xEF\xBB\xBF\xE2\x82\xAC=0.5\r\n")},
                      EncodedCase{L"w, ccs=UTF-16LE",
                                  std::string("\xFF\xFE\xAC\x20=\0000\000.\0005\000\r\000\n\000", 16)},
                      EncodedCase{L"wt, ccs=UNICODE",
                                  std::string("\xFF\xFE\xAC\x20=\0000\000.\0005\000\r\000\n\000", 16)}));

TEST_F(StreamFile, InvalidModesAreRefused) {
    for (const char* mode : {"", "q", "rw", "r++", "rbt", "rx", "wb, ccs=UTF-8", "w, ccs=KOI8-R", "w, css=UTF-8"}) {
        errno = 0;
        EXPECT_EQ(fopen_CL(path_.c_str(), mode), nullptr) << mode;
        EXPECT_EQ(errno, EINVAL) << mode;
    }
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(StreamFile, ExclusiveCreateFailsOnAnExistingFile) {
    put_bytes("x");
    errno = 0;
    EXPECT_EQ(fopen_CL(path_.c_str(), "wx"), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(fopen_CL((dir_ / "missing").string().c_str(), "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

TEST(StreamHandle, NullClosedAndForeignStreamsAreRefused) {
    int local = 0;
    FILE* runtime_stream = stdout;
    for (void* bad : {static_cast<void*>(nullptr), static_cast<void*>(&local), static_cast<void*>(runtime_stream)}) {
        errno = 0;
        EXPECT_EQ(fprintf_CL(bad, "%d", 1), -1);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(fwprintf_CL(bad, L"%d", 1), -1);
        EXPECT_EQ(errno, EINVAL);
        int v;
        errno = 0;
        EXPECT_EQ(fscanf_CL(bad, "%d", &v), EOF);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(fwscanf_CL(bad, L"%d", &v), EOF);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(ftell_CL(bad), -1);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(fseek_CL(bad, 0, SEEK_SET), -1);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(fclose_CL(bad), EOF);
        EXPECT_EQ(errno, EINVAL);
    }
    std::string path = (fs::temp_directory_path() / ("numerio-closed-" + std::to_string(::getpid()))).string();
    void* f = fopen_CL(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fclose_CL(f), 0);
    errno = 0;
    EXPECT_EQ(fclose_CL(f), EOF);  // closing twice
    EXPECT_EQ(errno, EINVAL);
    fs::remove(path);
}

TEST(StreamHandle, SeekRejectsBadOriginsAndNegativePositions) {
    std::string path = (fs::temp_directory_path() / ("numerio-seek-" + std::to_string(::getpid()))).string();
    void* f = fopen_CL(path.c_str(), "w+");
    ASSERT_NE(f, nullptr);
    fprintf_CL(f, "abc");
    errno = 0;
    EXPECT_EQ(fseek_CL(f, 0, 3), -1);
    EXPECT_EQ(errno, EINVAL);
    errno = 0;
    EXPECT_EQ(fseek_CL(f, -4, SEEK_END), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(ftell_CL(f), 3);
    EXPECT_EQ(fseek_CL(f, -1, SEEK_CUR), 0);
    EXPECT_EQ(ftell_CL(f), 2);
    fclose_CL(f);
    fs::remove(path);
}

}  // namespace
