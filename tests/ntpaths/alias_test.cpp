// Aliases kept with their entries: stable through renames, fast plain creations and deletions
// beside them, on ext4 and on tmpfs; unique when processes hand them out at once; and the
// file systems where none can be kept (no user attributes, mounted read-only).
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "ntpaths/winfs/winfs.h"
#include "tests/ntpaths/fault_syscalls.h"
#include "tests/ntpaths/fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr long kExt4Magic = 0xEF53, kTmpfsMagic = 0x01021994;

long FsMagic(const std::string& path) {
  struct statfs s;
  return statfs(path.c_str(), &s) == 0 ? static_cast<long>(s.f_type) : 0;
}

// The drive T: on a file system of a chosen kind, next to the fixture's drives.
class AliasTest : public DrivesTest {
 protected:
  void TearDown() override {
    if (mounted_) umount2(t_.c_str(), MNT_DETACH);
    if (!own_.empty()) {
      std::error_code ec;
      fs::remove_all(own_, ec);
    }
    DrivesTest::TearDown();
  }

  // Mounts a small file system of TYPE ("tmpfs", "ramfs") at T:; false when this process may not.
  bool MountT(const char* type) {
    t_ = Host("t");
    fs::create_directory(t_);
    if (geteuid() != 0 || mount(type, t_.c_str(), type, 0, "size=8m") != 0) return false;
    mounted_ = true;
    return MapT();
  }
  // T: in a directory of its own on an ext4 file system, or on tmpfs, as KIND says.
  bool PlaceT(const std::string& kind) {
    if (kind == "tmpfs") {
      if (MountT("tmpfs")) return true;
      return OwnDirectoryIn({"/dev/shm"}, kTmpfsMagic);
    }
    return OwnDirectoryIn({root_, "/var/tmp", "/work"}, kExt4Magic);
  }
  bool OwnDirectoryIn(std::initializer_list<std::string> places, long magic) {
    for (const auto& place : places) {
      if (FsMagic(place) != magic) continue;
      std::string tmpl = place + "/ntpaths-alias-XXXXXX";
      if (!mkdtemp(tmpl.data())) continue;
      own_ = t_ = tmpl;
      return MapT();
    }
    return false;
  }
  bool MapT() { return winfs::ConfigureDrives("C=" + Host("c") + ";D=" + Host("d") + ";T=" + t_); }
  void PlainFile(const std::string& name, const std::string& content = "") const {
    int fd = open((t_ + "/" + name).c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << name;
    ASSERT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    close(fd);
  }
  ino_t Inode(const std::string& name) const {
    struct stat st;
    return stat((t_ + "/" + name).c_str(), &st) == 0 ? st.st_ino : 0;
  }
  static std::string ShortOf(const std::string& path) {
    char out[NTPATHS_SHORT_BUF];
    int32_t code = NTLONGTOSHORTFILENAME(path.c_str(), out, 0);
    return code ? "<" + std::to_string(code) + ">" : out;
  }
  static std::string LongOf(const std::string& path) {
    char out[NTPATHS_MAX_PATH];
    int32_t code = NTSHORTTOLONGFILENAME(path.c_str(), out);
    return code ? "<" + std::to_string(code) + ">" : out;
  }
  size_t Count() const {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(t_)) ++n;
    return n;
  }

  std::string t_;
  std::string own_;
  bool mounted_ = false;
};

// What an alias named when it was handed out.
struct Given {
  std::string name;
  ino_t inode;
};

class AliasStabilityTest : public AliasTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AliasStabilityTest, AnAliasNamesItsFirstFileWhateverHappensBesideIt) {
  if (!PlaceT(GetParam())) GTEST_SKIP() << "no " << GetParam() << " file system to work on here";
  std::map<std::string, Given> given;  // alias -> what it named
  auto handOut = [&](const std::string& name) {
    std::string s = ShortOf("T:\\" + name);
    ASSERT_EQ(s.rfind("T:\\BUDGE", 0), 0u) << name << " -> " << s;
    std::string alias = s.substr(3);
    ASSERT_EQ(given.count(alias), 0u) << alias << " given twice";
    given[alias] = {name, Inode(name)};
  };
  auto checkAll = [&](const char* when) {
    for (const auto& [alias, first] : given) {
      EXPECT_EQ(LongOf("T:\\" + alias), "T:\\" + first.name) << alias << " " << when;
      EXPECT_EQ(Inode(first.name), first.inode) << alias << " " << when;
    }
  };
  for (int i = 0; i < 12; ++i) PlainFile("Budget plan " + std::to_string(i) + ".xls");
  for (int i = 0; i < 12; ++i) handOut("Budget plan " + std::to_string(i) + ".xls");
  checkAll("after the first twelve");
  // Renamed into the group, through the layer and behind its back.
  for (int k = 0; k < 3; ++k) {
    PlainFile("save" + std::to_string(k) + ".tmp", "new");
    ASSERT_EQ(NTRENAMEFILE(("T:\\save" + std::to_string(k) + ".tmp").c_str(),
                           ("T:\\Budget renamed " + std::to_string(k) + ".xls").c_str()),
              0);
  }
  PlainFile("other.tmp");
  ASSERT_EQ(rename((t_ + "/other.tmp").c_str(), (t_ + "/Budget moved in.xls").c_str()), 0);
  checkAll("after the renames");
  for (int k = 0; k < 3; ++k) handOut("Budget renamed " + std::to_string(k) + ".xls");
  // Fifty more, made as fast as the file system allows, within the same clock ticks.
  for (int i = 0; i < 50; ++i) {
    int fd = open((t_ + "/Budget fast " + std::to_string(i) + ".xls").c_str(),
                  O_CREAT | O_WRONLY | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
  }
  checkAll("after fifty plain creations");
  // Some of the first ones go, by their aliases.
  for (const char* alias : {"BUDGET~1.XLS", "BUDGET~4.XLS", "BUDGE~11.XLS"}) {
    ASSERT_EQ(given.count(alias), 1u) << alias;
    EXPECT_EQ(NTDELETEFILE(("T:\\" + std::string(alias)).c_str()), 0) << alias;
    EXPECT_EQ(Inode(given[alias].name), 0u) << alias;
    given.erase(alias);
  }
  checkAll("after the deletions");
  // A listing sees the newcomers: each gets an alias of its own, none of those handed out.
  NtFindRecord r;
  uint32_t h = 0;
  std::set<std::string> listed;
  size_t entries = 0;
  ASSERT_EQ(NTFINDFIRST("T:\\*.xls", &r, &h), 0);
  do {
    ++entries;
    ASSERT_NE(r.shortName[0], 0) << r.name;
    EXPECT_TRUE(listed.insert(r.shortName).second) << r.shortName << " twice";
    auto it = given.find(r.shortName);
    if (it != given.end()) {
      EXPECT_EQ(it->second.name, r.name);
    }
  } while (NTFINDNEXT(h, &r) == 0);
  EXPECT_EQ(NTFINDCLOSE(h), 0);
  EXPECT_EQ(entries, 12u - 3 + 4 + 50);
  checkAll("after the listing");
  handOut("Budget moved in.xls");
  // Renaming a file out of the group ends its alias: the old one names nothing now.
  std::string renamedAlias;
  for (auto& [alias, first] : given)
    if (first.name == "Budget plan 5.xls") renamedAlias = alias;
  ASSERT_EQ(NTRENAMEFILE(("T:\\" + renamedAlias).c_str(), "T:\\Forecast 5.xls"), 0);
  given.erase(renamedAlias);
  EXPECT_EQ(ShortOf("T:\\Forecast 5.xls"), "T:\\FORECA~1.XLS");
  EXPECT_EQ(LongOf("T:\\" + renamedAlias), "<2>");
  checkAll("after a rename");
}

INSTANTIATE_TEST_SUITE_P(FileSystems, AliasStabilityTest, ::testing::Values("ext4", "tmpfs"));

// A save that renames its temporary file into the group takes a new number: the alias the
// user was given still deletes the file it was given for.
TEST_F(AliasTest, ASavedFileNeverTakesTheAliasOfAnother) {
  ASSERT_TRUE(PlaceT("ext4"));
  PlainFile("Annual budget 2024.xls", "2024");
  EXPECT_EQ(ShortOf("T:\\Annual budget 2024.xls"), "T:\\ANNUAL~1.XLS");
  PlainFile("save.tmp", "2025");
  ASSERT_EQ(NTRENAMEFILE("T:\\save.tmp", "T:\\Annual budget 2025.xls"), 0);
  EXPECT_EQ(ShortOf("T:\\Annual budget 2025.xls"), "T:\\ANNUAL~2.XLS");
  ASSERT_EQ(NTDELETEFILE("T:\\ANNUAL~1.XLS"), 0);
  EXPECT_EQ(Inode("Annual budget 2024.xls"), 0u);
  EXPECT_NE(Inode("Annual budget 2025.xls"), 0u);
  EXPECT_EQ(LongOf("T:\\ANNUAL~2.XLS"), "T:\\Annual budget 2025.xls");
}

// A file made later behind the layer's back whose name is an alias in another case does not
// take that alias over.
TEST_F(AliasTest, AnAliasWinsOverALaterNameThatDiffersOnlyInCase) {
  ASSERT_TRUE(PlaceT("ext4"));
  PlainFile("Program notes.txt", "notes");
  EXPECT_EQ(ShortOf("T:\\Program notes.txt"), "T:\\PROGRA~1.TXT");
  PlainFile("progra~1.txt", "intruder");
  EXPECT_EQ(LongOf("T:\\PROGRA~1.TXT"), "T:\\Program notes.txt");
  EXPECT_EQ(NTDELETEFILE("T:\\PROGRA~1.TXT"), 0);
  EXPECT_EQ(Inode("Program notes.txt"), 0u);
  EXPECT_NE(Inode("progra~1.txt"), 0u);
  EXPECT_EQ(NTDELETEFILE("T:\\PROGRA~1.TXT"), 0);  // now only the name is left
  EXPECT_EQ(Count(), 0u);
}

// Processes handing out aliases in one directory at the same moment never give two files the
// same one: each takes the directory's lock to choose and keep its aliases.
TEST_F(AliasTest, ProcessesHandingOutAliasesAtOnceGiveEachFileItsOwn) {
  ASSERT_TRUE(PlaceT("ext4"));
  constexpr int kProcesses = 4, kFiles = 30;
  for (int p = 0; p < kProcesses; ++p)
    for (int f = 0; f < kFiles; ++f)
      PlainFile("Shared prefix " + std::to_string(p) + " " + std::to_string(f) + ".txt");
  int pipes[kProcesses][2];
  pid_t pids[kProcesses];
  for (int p = 0; p < kProcesses; ++p) {
    ASSERT_EQ(pipe(pipes[p]), 0);
    pids[p] = fork();
    ASSERT_GE(pids[p], 0);
    if (pids[p] == 0) {
      close(pipes[p][0]);
      std::string out;
      for (int f = 0; f < kFiles; ++f) {
        std::string name = "Shared prefix " + std::to_string(p) + " " + std::to_string(f) + ".txt";
        out += name + "=" + ShortOf("T:\\" + name) + "\n";
      }
      ssize_t done = write(pipes[p][1], out.data(), out.size());
      _exit(done == static_cast<ssize_t>(out.size()) ? 0 : 1);
    }
    close(pipes[p][1]);
  }
  std::map<std::string, std::string> owner;  // alias -> name
  for (int p = 0; p < kProcesses; ++p) {
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = read(pipes[p][0], buf, sizeof buf)) > 0;) text.append(buf, n);
    close(pipes[p][0]);
    int status = 0;
    ASSERT_EQ(waitpid(pids[p], &status, 0), pids[p]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    size_t lines = 0;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
      std::string line = text.substr(at, end - at);
      size_t eq = line.find('=');
      std::string name = line.substr(0, eq), shortPath = line.substr(eq + 1);
      ASSERT_EQ(shortPath.rfind("T:\\SHAR", 0), 0u) << line;
      auto [it, fresh] = owner.emplace(shortPath, name);
      EXPECT_TRUE(fresh) << shortPath << " given to " << it->second << " and " << name;
      ++lines;
    }
    EXPECT_EQ(lines, static_cast<size_t>(kFiles));
  }
  for (const auto& [shortPath, name] : owner) EXPECT_EQ(LongOf(shortPath), "T:\\" + name);
}

// Where no alias can be kept, none is handed out: the name has no short form (87, so that
// NTLONGTOSHORTFILENAME gives the rule-built name), an alias names nothing, and no file is
// touched that was not named.
void ExpectNoAliasAnywhere(const std::string& t, size_t entries) {
  char out[NTPATHS_SHORT_BUF];
  EXPECT_EQ(winfs::GetShortPathNameA("T:\\Quarterly report.doc", out, sizeof out), 0u);
  EXPECT_EQ(winfs::GetLastError(), 87u);
  winfs::SetLastError(0);
  EXPECT_EQ(NTLONGTOSHORTFILENAME("T:\\Quarterly report.doc", out, 0), 0);
  EXPECT_STREQ(out, "T:\\Quarterl.doc");
  char longName[NTPATHS_MAX_PATH];
  EXPECT_EQ(NTSHORTTOLONGFILENAME("T:\\QUARTE~1.DOC", longName), 2);
  EXPECT_EQ(NTDELETEFILE("T:\\QUARTE~1.DOC"), 2);
  NtFindRecord r;
  uint32_t h = 0;
  ASSERT_EQ(NTFINDFIRST("T:\\Quarterly*", &r, &h), 0);
  EXPECT_STREQ(r.name, "Quarterly report.doc");
  EXPECT_STREQ(r.shortName, "");
  NTFINDCLOSE(h);
  size_t n = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(t)) ++n;
  EXPECT_EQ(n, entries);
}

TEST_F(AliasTest, FileSystemWithoutUserAttributesHandsOutNoAlias) {
  if (!MountT("ramfs")) GTEST_SKIP() << "ramfs cannot be mounted here (not root)";
  PlainFile("Quarterly report.doc", "numbers");
  ExpectNoAliasAnywhere(t_, 1);
  // A file made through the layer there has none either, and the make still succeeds.
  EXPECT_EQ(NTMAKEDIRECTORY("T:\\Quarterly archive"), 0);
  EXPECT_EQ(ShortOf("T:\\Quarterly archive"), "T:\\Quarterl");
}

TEST_F(AliasTest, AnAliasThatCannotBeStoredIsNotHandedOut) {
  // The same through the call table, on any machine: the file system refuses the attribute.
  ASSERT_TRUE(PlaceT("ext4"));
  PlainFile("Quarterly report.doc", "numbers");
  {
    SyscallFault fault("setxattr", ENOTSUP, 1, 1000);
    ExpectNoAliasAnywhere(t_, 1);
    EXPECT_GT(fault.failures(), 0);
  }
  EXPECT_EQ(ShortOf("T:\\Quarterly report.doc"), "T:\\QUARTE~1.DOC");  // kept once it can be
}

// When the records of a group cannot be read, a new alias could land on a number one of them
// holds: none is handed out until they can be read again.
TEST_F(AliasTest, UnreadableRecordsStopNewAliasesRatherThanRiskADuplicate) {
  ASSERT_TRUE(PlaceT("ext4"));
  PlainFile("Annual budget 2024.xls", "2024");
  EXPECT_EQ(ShortOf("T:\\Annual budget 2024.xls"), "T:\\ANNUAL~1.XLS");
  PlainFile("Annual budget 2025.xls", "2025");
  {
    SyscallFault fault("getxattrAt", EIO, 1, 1000);
    EXPECT_EQ(ShortOf("T:\\Annual budget 2025.xls"), "T:\\Annual_b.xls");  // rule-built
    EXPECT_EQ(LongOf("T:\\ANNUAL~2.XLS"), "<2>");
    EXPECT_GT(fault.failures(), 0);
  }
  EXPECT_EQ(ShortOf("T:\\Annual budget 2025.xls"), "T:\\ANNUAL~2.XLS");
  EXPECT_EQ(LongOf("T:\\ANNUAL~1.XLS"), "T:\\Annual budget 2024.xls");
}

TEST_F(AliasTest, ReadOnlyFileSystemKeepsTheAliasesItHasAndGivesNoNewOnes) {
  if (!MountT("tmpfs")) GTEST_SKIP() << "no tmpfs can be mounted here (not root)";
  PlainFile("Annual budget 2024.xls", "2024");
  PlainFile("Quarterly report.doc", "numbers");
  EXPECT_EQ(ShortOf("T:\\Annual budget 2024.xls"), "T:\\ANNUAL~1.XLS");
  ASSERT_EQ(mount("tmpfs", t_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
  EXPECT_EQ(LongOf("T:\\ANNUAL~1.XLS"), "T:\\Annual budget 2024.xls");
  ExpectNoAliasAnywhere(t_, 2);
  EXPECT_EQ(NTDELETEFILE("T:\\ANNUAL~1.XLS"), 19);  // write-protected: nothing deleted
  EXPECT_EQ(Count(), 2u);
}

TEST_F(AliasTest, AHandTypedAliasThatNamesNoFileTouchesNothing) {
  ASSERT_TRUE(PlaceT("ext4"));
  PlainFile("Annual budget 2024.xls", "2024");
  PlainFile("Annual budget 2025.xls", "2025");
  for (const char* alias : {"T:\\ANNUAL~3.XLS", "T:\\ANNUAL~1.DOC", "T:\\NOSUCH~1.XLS",
                            "T:\\ANNUA~10.XLS", "T:\\ANNUAL~0.XLS"}) {
    EXPECT_EQ(NTDELETEFILE(alias), 2) << alias;
    EXPECT_EQ(NTRENAMEFILE(alias, "T:\\renamed.xls"), 2) << alias;
    EXPECT_EQ(LongOf(alias), "<2>") << alias;
  }
  EXPECT_EQ(Count(), 2u);
  EXPECT_EQ(LongOf("T:\\ANNUAL~2.XLS"), "T:\\Annual budget 2025.xls");  // seen by name order
}

// Names and paths at the limits: 255 characters is a name, 256 is not; a full path of 259
// characters is one, 260 is not. Nothing is made for what is refused.
TEST_F(AliasTest, NamesAndPathsAtTheLimits) {
  ASSERT_TRUE(PlaceT("ext4"));
  std::string longest(255, 'n');
  longest.replace(0, 9, "Long name");
  char out[NTPATHS_SHORT_BUF];
  ASSERT_EQ(NTLONGTOSHORTFILENAME(("T:\\" + longest).c_str(), out, 1), 0);
  EXPECT_STREQ(out, "T:\\LONGNA~1");
  EXPECT_EQ(LongOf("T:\\LONGNA~1"), "T:\\" + longest);
  EXPECT_EQ(NTLONGTOSHORTFILENAME(("T:\\" + longest + "x").c_str(), out, 1), 206);
  EXPECT_EQ(Count(), 1u);
  ASSERT_EQ(NTMAKEDIRECTORY(("T:\\" + std::string(200, 'd')).c_str()), 0);
  std::string base = "T:\\" + std::string(200, 'd') + "\\";
  std::string atLimit = base + std::string(259 - base.size(), 'f');
  ASSERT_EQ(atLimit.size(), 259u);
  ASSERT_EQ(NTLONGTOSHORTFILENAME(atLimit.c_str(), out, 1), 0);
  EXPECT_EQ(LongOf(atLimit), atLimit);
  EXPECT_EQ(NTLONGTOSHORTFILENAME((atLimit + "g").c_str(), out, 1), 206);
  EXPECT_EQ(NTDELETEFILE((atLimit + "g").c_str()), 206);
  EXPECT_EQ(LongOf(atLimit + "g"), "<206>");
  EXPECT_EQ(NTDELETEFILE(atLimit.c_str()), 0);
  EXPECT_EQ(Count(), 2u);  // the 255-character file and the directory
}

}  // namespace
