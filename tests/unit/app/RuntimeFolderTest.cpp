// Where the program looks for its Data, Resources and Help folders when it starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Program.h"

namespace fs = std::filesystem;

namespace {
// A scratch tree; the working directory is put back afterwards.
class RuntimeFolderTest : public ::testing::Test {
protected:
    RuntimeFolderTest() {
        root = fs::temp_directory_path() /
               ("bricketing-folders-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "elsewhere");
    }
    ~RuntimeFolderTest() override {
        fs::current_path(startFolder);
        fs::remove_all(root);
    }

    static void makeRuntimeFolders(const fs::path& folder) {
        fs::create_directories(folder / "Data");
        fs::create_directories(folder / "Resources");
        fs::create_directories(folder / "Help");
    }

    fs::path startFolder = fs::current_path();
    fs::path root;
};

TEST_F(RuntimeFolderTest, StaysWhereTheFoldersAlreadyAre) {
    makeRuntimeFolders(root / "elsewhere");
    makeRuntimeFolders(root / "program");
    fs::current_path(root / "elsewhere");
    EXPECT_TRUE(enterRuntimeFolder(root / "program"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "elsewhere"));
}

TEST_F(RuntimeFolderTest, MovesBesideTheProgram) {
    makeRuntimeFolders(root / "program");
    fs::current_path(root / "elsewhere");
    EXPECT_TRUE(enterRuntimeFolder(root / "program"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "program"));
}

TEST_F(RuntimeFolderTest, MovesToTheParentOfABuildFolder) {
    makeRuntimeFolders(root / "source");
    fs::create_directories(root / "source" / "build");
    fs::current_path(root / "elsewhere");
    EXPECT_TRUE(enterRuntimeFolder(root / "source" / "build"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "source"));
}

TEST_F(RuntimeFolderTest, MovesToTheInstalledShareFolder) {
    makeRuntimeFolders(root / "prefix" / "share" / "bricketing");
    fs::create_directories(root / "prefix" / "bin");
    fs::current_path(root / "elsewhere");
    EXPECT_TRUE(enterRuntimeFolder(root / "prefix" / "bin"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "prefix" / "share" / "bricketing"));
}

TEST_F(RuntimeFolderTest, AnInstalledCopyUsesItsOwnFoldersWhereverItStarts) {
    makeRuntimeFolders(root / "prefix" / "share" / "bricketing");
    std::ofstream(root / "prefix" / "share" / "bricketing" / "Data" / "installed.txt") << "x";
    fs::create_directories(root / "prefix" / "bin");
    makeRuntimeFolders(root / "elsewhere");  // a pupil's folder with another copy's files
    fs::current_path(root / "elsewhere");
    EXPECT_TRUE(enterRuntimeFolder(root / "prefix" / "bin"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "prefix" / "share" / "bricketing"));
}

TEST_F(RuntimeFolderTest, StaysPutWhenNoFolderHoldsThem) {
    fs::create_directories(root / "program");
    fs::current_path(root / "elsewhere");
    EXPECT_FALSE(enterRuntimeFolder(root / "program"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "elsewhere"));
}
}  // namespace
