// Every test program keeps to itself however it is started, by ctest or by
// hand from a developer's shell: before main() it gets a scratch home of its
// own (journal, settings, lock files, runtime folder), and the offscreen
// platform unless QT_QPA_PLATFORM asks for a display. The scratch home is
// removed when the program ends. Run as root, it also gets a mount namespace
// of its own, so that a file system a test mounts (a disk that is full, say)
// goes with it even when it is killed, and the machine never sees it.
// Programs the test starts inherit all of it.

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int removeEntry(const char *path, const struct stat *, int, FTW *)
{
    ::remove(path);  // what cannot go (a mount still busy) stays; the rest goes
    return 0;
}

class TestIsolation
{
public:
    TestIsolation()
    {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tavir340-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("tavir340 tests: cannot make a scratch home");
            std::_Exit(1);
        }
        m_root = pattern;
        for (const char *folder : {"/home", "/config", "/data", "/cache", "/state", "/runtime", "/locks"})
            ::mkdir((m_root + folder).c_str(), 0700);
        ::setenv("HOME", (m_root + "/home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root + "/data").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (m_root + "/cache").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (m_root + "/state").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (m_root + "/runtime").c_str(), 1);
        ::setenv("TAVIR340_LOCK_DIR", (m_root + "/locks").c_str(), 1);
        ::unsetenv("TAVIR340_JOURNAL");
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        // The simulated modules answer without the line's pace unless a test
        // asks for it; so do the program's writes, except in the tests of the
        // pace itself, which take this away.
        ::setenv("TAVIR340_LINE_PACE", "off", 0);
        m_owner = ::getpid();
        // Before any thread starts: the namespace is the whole program's.
        // The machine's mounts still reach it; its own reach nobody.
        if (::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0)
            ::mount(nullptr, "/", nullptr, MS_REC | MS_SLAVE, nullptr);
    }
    ~TestIsolation()
    {
        if (::getpid() == m_owner)  // not in a child that a test forked
            ::nftw(m_root.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
    }
    TestIsolation(const TestIsolation &) = delete;
    TestIsolation &operator=(const TestIsolation &) = delete;

private:
    std::string m_root;
    pid_t m_owner = 0;
};

const TestIsolation isolation;

}  // namespace
