#include "support/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "shell/error_report.h"
#include "support/file_system.h"
#include "support/temporaries_in_flight.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_.Path(name); }
    std::vector<std::string> names_in_folder() const { return folder_.Names(); }

    testing_support::Temp_Folder folder_;
};

template <typename F>
std::string error_text(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return shell::Error_Text(e);
    }
    return "(no error)";
}

TEST_F(FileIoTest, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    const std::string target = path("mosaic.bmp");
    Write_File_Atomically(target, {1, 2, 3, 4, 5});
    Write_File_Atomically(target, {9, 8});
    EXPECT_EQ(Read_Whole_File(target), (std::vector<std::uint8_t>{9, 8}));
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosaic.bmp"});
}

TEST_F(FileIoTest, KeepsNonAsciiNames) {
    const std::string target = path("mosa\xC3\xAF" "que \xE2\x82\xAC.bmp");  // UTF-8 letters and a euro sign
    Write_File_Atomically(target, {7});
    EXPECT_EQ(Read_Whole_File(target), std::vector<std::uint8_t>{7});
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosa\xC3\xAF" "que \xE2\x82\xAC.bmp"});
}

TEST_F(FileIoTest, FailuresNameThePathAndLoseNothing) {
    const std::string missing_folder = path("no such folder/out.bmp");
    EXPECT_EQ(error_text([&] { Write_File_Atomically(missing_folder, {1}); }), "Cannot create file " + missing_folder);

    // A folder in the way of the file: the folder and its content stay.
    fs::create_directory(folder_.Folder() / "taken.bmp");
    std::ofstream(folder_.Folder() / "taken.bmp" / "inside.txt") << "keep";
    const std::string taken = path("taken.bmp");
    EXPECT_EQ(error_text([&] { Write_File_Atomically(taken, {1}); }), "Cannot create file " + taken);
    EXPECT_TRUE(fs::exists(folder_.Folder() / "taken.bmp" / "inside.txt"));
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"taken.bmp"});

    const std::string absent = path("absent.bmp");
    EXPECT_EQ(error_text([&] { Read_Whole_File(absent); }), "Cannot open file " + absent);
    EXPECT_EQ(error_text([&] { Read_Whole_File(taken); }), "Cannot open file " + taken);
}

TEST_F(FileIoTest, ReadsEmptyAndLargeFilesWhole) {
    const std::string empty = path("empty.bmp");
    Write_File_Atomically(empty, std::vector<std::uint8_t>{});
    EXPECT_TRUE(Read_Whole_File(empty).empty());

    std::vector<std::uint8_t> large(300000);
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 31);
    const std::string big = path("big.bmp");
    Write_File_Atomically(big, large);
    EXPECT_EQ(Read_Whole_File(big), large);
}

std::string text_of(const std::string& path) {
    const std::vector<std::uint8_t> bytes = Read_Whole_File(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> bytes_of(std::string_view text) { return {text.begin(), text.end()}; }

TEST_F(FileIoTest, AFailedSaveKeepsTheOldFileAndRemovesItsTemporaryFile) {
    const std::string target = path("mosaic.bmp");
    Write_File_Atomically(target, bytes_of("old"));
    const auto fail_half_way = [](const Byte_Sink& sink) {
        sink(bytes_of("new, half"));
        throw Error::Not_Valid(Bitmap_Fault::Empty_Image);
    };
    EXPECT_THROW(Write_File_Atomically(target, fail_half_way), Error);

    // An interrupt removes the file being written; the save then fails and loses nothing.
    const auto interrupted = [](const Byte_Sink& sink) {
        sink(bytes_of("new, half"));
        Remove_Temporaries_In_Flight();
    };
    EXPECT_EQ(error_text([&] { Write_File_Atomically(target, interrupted); }), "Cannot create file " + target);
    EXPECT_EQ(text_of(target), "old");
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosaic.bmp"});
}

TEST_F(FileIoTest, TheNextSaveRemovesATemporaryFileACrashLeftButNotOneBeingWritten) {
    const std::string target = path("mosaic.bmp");
    std::ofstream(folder_.Folder() / "mosaic.bmp.saving-0.tmp") << "left by a crash";
    std::ofstream(folder_.Folder() / "mosaic.bmp.saving-7.tmp") << "left by a crash";
    {
        // Another program saving the same file at the same time.
        const file_system::File other = file_system::Create_New_File(folder_.Folder() / "mosaic.bmp.saving-3.tmp");
        ASSERT_TRUE(other);
        Write_File_Atomically(target, bytes_of("new"));
        EXPECT_TRUE(fs::exists(folder_.Folder() / "mosaic.bmp.saving-3.tmp"));
    }
    Write_File_Atomically(target, bytes_of("newer"));
    EXPECT_EQ(text_of(target), "newer");
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosaic.bmp"});
}

TEST_F(FileIoTest, AWriteProtectedFileIsNotReplaced) {
    const std::string target = path("mosaic.bmp");
    Write_File_Atomically(target, bytes_of("keep"));
    // Read-only attribute on Windows, no write bit on Linux (which stops root here too).
    fs::permissions(folder_.Folder() / "mosaic.bmp", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(error_text([&] { Write_File_Atomically(target, bytes_of("new")); }), "Cannot create file " + target);
    EXPECT_EQ(text_of(target), "keep");
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosaic.bmp"});
    fs::permissions(folder_.Folder() / "mosaic.bmp", fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(FileIoTest, SavesThroughASymbolicLinkToItsTarget) {
    fs::create_directory(folder_.Folder() / "elsewhere");
    const fs::path real = folder_.Folder() / "elsewhere" / "real.bmp";
    std::ofstream(real) << "old";
    std::error_code ec;
    fs::create_symlink(fs::path("elsewhere") / "real.bmp", folder_.Folder() / "link.bmp", ec);
    if (ec) GTEST_SKIP() << "this system makes no symbolic links here: " << ec.message();

    Write_File_Atomically(path("link.bmp"), bytes_of("new"));
    EXPECT_TRUE(fs::is_symlink(folder_.Folder() / "link.bmp"));
    EXPECT_EQ(text_of(path("elsewhere/real.bmp")), "new");
    EXPECT_EQ(names_in_folder().size(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Folder() / "elsewhere"), fs::directory_iterator()), 1);
}

TEST_F(FileIoTest, AHardLinkedFileIsWrittenThroughEveryName) {
    const std::string first = path("first.bmp");
    Write_File_Atomically(first, bytes_of("old content"));
    fs::create_hard_link(folder_.Folder() / "first.bmp", folder_.Folder() / "second.bmp");
    Write_File_Atomically(first, bytes_of("new"));
    EXPECT_EQ(text_of(path("second.bmp")), "new");
    EXPECT_EQ(names_in_folder().size(), 2u);
}

#ifndef _WIN32
TEST_F(FileIoTest, AnotherUsersFileIsNeitherReplacedByAUserWhoMayNotWriteItNorGivenAway) {
    if (geteuid() != 0) GTEST_SKIP() << "making another user's file needs root";
    constexpr uid_t kNobody = 65534;
    fs::permissions(folder_.Folder(), fs::perms::all);  // a folder everyone may write in
    const std::string theirs = path("theirs.bmp");
    Write_File_Atomically(theirs, bytes_of("theirs"));
    ASSERT_EQ(chmod(theirs.c_str(), 0644), 0);

    // Root passes every permission check, so the save runs as another user in a child process.
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
        try {
            Write_File_Atomically(theirs, bytes_of("mine"));
            _exit(0);
        } catch (const Error&) {
            _exit(1);
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(text_of(theirs), "theirs");

    // Replacing keeps the owner, group and permissions of the old file.
    ASSERT_EQ(chown(theirs.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(theirs.c_str(), 0640), 0);
    Write_File_Atomically(theirs, bytes_of("new"));
    struct stat st {};
    ASSERT_EQ(stat(theirs.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"theirs.bmp"});
}
#endif

}  // namespace
}  // namespace tilvane
