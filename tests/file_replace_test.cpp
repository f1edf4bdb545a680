// Replacing a file: symbolic links followed and kept, permission bits and (as root) owner kept, a
// name that fills NAME_MAX, nothing left behind by a failed or killed write, and targets that are
// never replaced.
#include "data/file_replace.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <set>
#include <string>

#include "boundary_file_test_support.h"

namespace {

class file_replace : public ::testing::Test {
protected:
    // Replaces name with text; returns the result.
    replacement_result replace(const std::string& name, const char* text) {
        file_replacement r;
        if (!begin_replacement(folder.file(name).c_str(), &r)) return replacement_create_failed;
        const bool printed = std::fputs(text, r.file) >= 0;
        return finish_replacement(&r, printed);
    }
    // Names in the folder, the hidden ones included, sorted.
    std::string listing() const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path))
            names += entry.path().filename().string() + " ";
        return names;
    }
    mode_t mode_of(const std::string& name) const {
        struct stat status;
        return lstat(folder.file(name).c_str(), &status) == 0 ? status.st_mode : 0;
    }
    scratch_folder folder;
};

TEST_F(file_replace, links_are_followed_and_stay) {
    struct link_case {
        const char* name;
        const char* link_to;  // as stored in the link
        const char* replaced;
    };
    const link_case cases[] = {
        {"relative", "table", "table"},
        {"chain", "relative", "table"},
        {"dangling", "new-table", "new-table"},
    };
    write_text(folder.file("table"), "old\n");
    for (const link_case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(symlink(c.link_to, folder.file(c.name).c_str()), 0);
        ASSERT_EQ(replace(c.name, c.name), replacement_done);
        EXPECT_TRUE(S_ISLNK(mode_of(c.name)));
        EXPECT_EQ(read_text(folder.file(c.replaced)), c.name);
    }
    // An absolute link into another folder.
    scratch_folder other;
    write_text(other.file("far"), "old\n");
    ASSERT_EQ(symlink(other.file("far").c_str(), folder.file("absolute").c_str()), 0);
    ASSERT_EQ(replace("absolute", "far"), replacement_done);
    EXPECT_EQ(read_text(other.file("far")), "far");
    EXPECT_EQ(listing().find(".tmp"), std::string::npos) << listing();
}

TEST_F(file_replace, permission_bits_are_kept) {
    // setuid, setgid and sticky included: a replacement keeps all twelve bits.
    for (mode_t bits : {0444, 0600, 0640, 0755, 04755, 02750, 01644}) {
        SCOPED_TRACE(bits);
        write_text(folder.file("table"), "old\n");
        ASSERT_EQ(chmod(folder.file("table").c_str(), bits), 0);
        ASSERT_EQ(replace("table", "new\n"), replacement_done);
        EXPECT_EQ(mode_of("table") & 07777, bits);
        EXPECT_EQ(read_text(folder.file("table")), "new\n");
    }
    // A new file gets 0666 less the umask.
    const mode_t mask = umask(022);
    ASSERT_EQ(replace("fresh", "new\n"), replacement_done);
    umask(mask);
    EXPECT_EQ(mode_of("fresh") & 07777, 0644u);
}

// As root the replaced file keeps its owner and group, and the set-user-ID bit a change of owner
// would clear.
TEST_F(file_replace, owner_and_group_are_kept_as_root) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const struct {
        uid_t user;
        gid_t group;
        mode_t bits;
    } cases[] = {{65534, 65534, 0600}, {65534, 0, 04755}, {0, 65534, 0640}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        write_text(folder.file("table"), "old\n");
        ASSERT_EQ(chown(folder.file("table").c_str(), c.user, c.group), 0);
        ASSERT_EQ(chmod(folder.file("table").c_str(), c.bits), 0);
        ASSERT_EQ(replace("table", "new\n"), replacement_done);
        struct stat status;
        ASSERT_EQ(stat(folder.file("table").c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, c.user);
        EXPECT_EQ(status.st_gid, c.group);
        EXPECT_EQ(status.st_mode & 07777, c.bits);
    }
}

TEST_F(file_replace, a_name_that_fills_name_max_works) {
    const std::string name(255, 'b');
    ASSERT_EQ(replace(name, "new\n"), replacement_done);
    EXPECT_EQ(listing(), name + " ");
}

TEST_F(file_replace, a_failed_write_leaves_the_old_file_and_nothing_else) {
    write_text(folder.file("table"), "old\n");
    file_replacement r;
    ASSERT_TRUE(begin_replacement(folder.file("table").c_str(), &r));
    std::fputs("half", r.file);
    errno = ENOSPC;
    EXPECT_EQ(finish_replacement(&r, false), replacement_write_failed);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(read_text(folder.file("table")), "old\n");
    EXPECT_EQ(listing(), "table ");
}

// A process killed in the middle of writing: where the system has unnamed files, no name of the
// new file exists yet, so nothing is left behind.
TEST_F(file_replace, a_killed_write_leaves_nothing_behind) {
    const int probe = open(folder.path.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "no unnamed files in " << folder.path;
    close(probe);
    write_text(folder.file("table"), "old\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        file_replacement r;
        if (begin_replacement(folder.file("table").c_str(), &r)) {
            std::fputs("half a table", r.file);
            std::fflush(r.file);
        }
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(read_text(folder.file("table")), "old\n");
    EXPECT_EQ(listing(), "table ");
}

// New files under a free numbered name (the explorer's pictures): an existing name is skipped and
// kept, a failed write leaves nothing, and until the file is complete no numbered name exists.
TEST_F(file_replace, a_new_file_takes_a_free_name_only_when_complete) {
    write_text(folder.file("picture-001.png"), "old\n");
    const std::string stem = folder.file("picture-");
    char named[replacement_name_capacity] = "";
    file_replacement r;
    ASSERT_TRUE(begin_new_file(folder.path.c_str(), &r));
    std::fputs("new", r.file);
    std::fflush(r.file);
    const std::string before = listing();
    EXPECT_EQ(before.find("picture-002"), std::string::npos) << before;
    ASSERT_TRUE(finish_new_file(&r, true, stem.c_str(), ".png", 9999, named));
    EXPECT_EQ(std::string(named), stem + "002.png");
    EXPECT_EQ(read_text(folder.file("picture-001.png")), "old\n");
    EXPECT_EQ(read_text(folder.file("picture-002.png")), "new");

    ASSERT_TRUE(begin_new_file(folder.path.c_str(), &r));
    errno = ENOSPC;
    EXPECT_FALSE(finish_new_file(&r, false, stem.c_str(), ".png", 9999, named));
    EXPECT_EQ(errno, ENOSPC);
    ASSERT_TRUE(begin_new_file(folder.path.c_str(), &r));
    EXPECT_FALSE(finish_new_file(&r, true, stem.c_str(), ".png", 2, named));
    EXPECT_EQ(errno, EEXIST);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"picture-001.png", "picture-002.png"}));
}

TEST(file_replace_targets, only_missing_and_regular_files_are_replaceable) {
    scratch_folder folder;
    write_text(folder.file("plain"), "x");
    ASSERT_EQ(symlink("plain", folder.file("link-to-plain").c_str()), 0);
    ASSERT_EQ(mkfifo(folder.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("fifo", folder.file("link-to-fifo").c_str()), 0);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socket_name = folder.file("socket");
    ASSERT_LT(socket_name.size(), sizeof address.sun_path);
    socket_name.copy(address.sun_path, socket_name.size());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    struct target_case {
        std::string name;
        bool replaceable;
    };
    const target_case cases[] = {
        {folder.file("absent"), true},        {folder.file("plain"), true},
        {folder.file("link-to-plain"), true}, {folder.file("fifo"), false},
        {folder.file("link-to-fifo"), false}, {socket_name, false},
        {folder.path.string(), false},        {"/dev/null", false},
    };
    for (const target_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(is_replaceable(c.name.c_str()), c.replaceable);
    }
    close(sock);
}

}  // namespace
