// The game installed like a Linux game: where it finds its data, where the
// player's files go, what an install holds, and that a run from an install
// writes only into the player's folders.
#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/DataFolder.h"
#include "app/SaveFolder.h"
#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

const std::string kAppId = "net.kuroshin.kuroshin";

std::string Describe(const ChildResult& run) {
  return "exit " + std::to_string(run.exitCode) + " signal " + std::to_string(run.signal) +
         "\nstdout:\n" + run.out + "\nstderr:\n" + run.err;
}

unsigned ModeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Every file and folder below `root`, with each file's size, as paths
// relative to it.
std::map<std::string, std::uintmax_t> Listing(const std::string& root) {
  std::map<std::string, std::uintmax_t> listing;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::end(it);
       it.increment(error)) {
    const std::string relative = fs::relative(it->path(), root).string();
    listing[relative] = it->is_regular_file() ? it->file_size() : 0;
  }
  return listing;
}

void Put(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(UserFolders, InstalledLayoutFollowsTheXdgRules) {
  const passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  const std::string accountHome = account->pw_dir;
  const struct {
    std::map<std::string, std::string> environment;
    std::string data, config, state;
  } cases[] = {
      {{{"HOME", "/home/p"}},
       "/home/p/.local/share/kuroshin",
       "/home/p/.config/kuroshin",
       "/home/p/.local/state/kuroshin"},
      {{{"HOME", "/home/p"},
        {"XDG_DATA_HOME", "/d"},
        {"XDG_CONFIG_HOME", "/c"},
        {"XDG_STATE_HOME", "/s"}},
       "/d/kuroshin",
       "/c/kuroshin",
       "/s/kuroshin"},
      // Relative and empty values are ignored, each on its own.
      {{{"HOME", "/home/p"},
        {"XDG_DATA_HOME", "rel/d"},
        {"XDG_CONFIG_HOME", ""},
        {"XDG_STATE_HOME", "/s"}},
       "/home/p/.local/share/kuroshin",
       "/home/p/.config/kuroshin",
       "/s/kuroshin"},
      // Without a usable HOME the account's home stands in.
      {{{"HOME", "relative"}},
       accountHome + "/.local/share/kuroshin",
       accountHome + "/.config/kuroshin",
       accountHome + "/.local/state/kuroshin"},
      {{{"XDG_DATA_HOME", "/d"}, {"XDG_CONFIG_HOME", "/c"}, {"XDG_STATE_HOME", "/s"}},
       "/d/kuroshin",
       "/c/kuroshin",
       "/s/kuroshin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.data);
    const std::optional<UserFolders> folders = InstalledUserFolders([&c](const char* name) {
      auto found = c.environment.find(name);
      return found == c.environment.end() ? nullptr : found->second.c_str();
    });
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->data, c.data);
    EXPECT_EQ(folders->saves, c.data + "/Saves");
    EXPECT_EQ(folders->config, c.config);
    EXPECT_EQ(folders->state, c.state);
    EXPECT_TRUE(folders->privateFolders);
  }
}

TEST(DataFolder, FoundFromTheKeyTheWorkingDirectoryOrTheInstall) {
  const std::string dir = fs::absolute(MakeTestDirectory("datafolder")).string();
  Put(dir + "/game/Values/Player.xml", "<Player/>");
  Put(dir + "/usr/share/kuroshin/Values/Player.xml", "<Player/>");
  fs::create_directories(dir + "/empty");
  const std::string installed = dir + "/usr/bin/kuroshin";
  const std::string bare = dir + "/opt/bin/kuroshin";
  const struct {
    std::optional<std::string> key;
    std::string workingDirectory, executable;
    std::optional<DataFolder> expected;
  } cases[] = {
      // A game in its data folder stays portable even beside an install.
      {std::nullopt, dir + "/game", installed, DataFolder{dir + "/game", false}},
      {std::nullopt, dir + "/empty", installed, DataFolder{dir + "/usr/share/kuroshin", true}},
      {std::nullopt, dir + "/empty", bare, std::nullopt},
      {std::nullopt, dir + "/empty", "", std::nullopt},
      // The key is taken as it is: relative to where the game starts, and
      // never replaced by another folder when it names none.
      {"game", dir, installed, DataFolder{dir + "/game", false}},
      {dir + "/empty", dir + "/game", installed, DataFolder{dir + "/empty", false}},
      {"missing", dir + "/game", installed, std::nullopt},
      {"", dir + "/game", installed, std::nullopt},
      {"game/Values/Player.xml", dir, installed, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.key ? "data=" + *c.key : "no key") + " in " + c.workingDirectory + " from " +
                 c.executable);
    EXPECT_EQ(FindDataFolder(c.key, c.workingDirectory, c.executable), c.expected);
  }
}

// --help, --version and a missing data folder end before the log or any
// user folder exists.
TEST(GameStart, QuestionsAndMissingDataWriteNoFile) {
  const std::string dir = fs::absolute(MakeTestDirectory("questions")).string();
  const std::string home = dir + "/home";
  const std::string work = dir + "/work";
  fs::create_directories(home);
  fs::create_directories(work);
  ChildOptions options;
  options.directory = work;
  options.environment = {"HOME=" + home, "XDG_DATA_HOME=", "XDG_CONFIG_HOME=", "XDG_STATE_HOME="};
  const std::string noData = "Could not find the game's data\n";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;
  } cases[] = {
      {{"--version"}, 0, "kuroshin 1.0 r125\n", ""},
      {{"headless=1", "--version", "--help"}, 0, "kuroshin 1.0 r125\n", ""},
      {{"--help"}, 0, "", ""},
      {{"headless=1", "fixedstep=1", "frames=2"}, 1, "", noData},
      {{"data=missing", "headless=1", "frames=2"}, 1, "", noData},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front());
    std::vector<std::string> argv{KUROSHIN_EXE};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const ChildResult run = RunChild(argv, options);
    ASSERT_TRUE(run.exited) << Describe(run);
    EXPECT_EQ(run.exitCode, c.exitCode) << Describe(run);
    if (!c.out.empty()) {
      EXPECT_EQ(run.out, c.out);
    }
    EXPECT_EQ(run.err, c.err);
    EXPECT_TRUE(fs::is_empty(home)) << "written into the home folder";
    EXPECT_TRUE(fs::is_empty(work)) << "written into the working directory";
    if (c.args.front() == "--help") {
      // One line per key, every key the game reads among them.
      for (const char* key :
           {"width=", "height=", "windowed=", "vsync=", "data=", "level=", "input=", "replay=",
            "screenshot=", "frames=", "fixedstep=", "headless=", "stats=", "--help", "--version"})
        EXPECT_NE(run.out.find("\n  " + std::string(key)), std::string::npos) << key;
    }
  }
}

// `cmake --install` of this build into a scratch root, as a package would
// lay it out.
std::string InstallInto(const std::string& root) {
  ChildOptions options;
  options.environment = {"DESTDIR=" + root};
  const ChildResult run =
      RunChild({KUROSHIN_CMAKE, "--install", KUROSHIN_BINARY_DIR, "--prefix", "/usr"}, options);
  return run.exited && run.exitCode == 0 ? std::string() : Describe(run);
}

bool IsRunTimeFile(const fs::path& path) {
  const std::string name = path.filename().string();
  if (name == "log.txt" || name == "MiniDump.dmp" || path.extension() == ".rpl") return true;
  for (const fs::path& part : path)
    if (part == "Saves" || part == "Screenshots") return true;
  return false;
}

TEST(Install, HoldsTheProgramsTheDataAndTheDesktopFilesOnly) {
  const std::string root = fs::absolute(MakeTestDirectory("tree")).string();
  ASSERT_EQ(InstallInto(root), "");
  const std::string share = "usr/share/kuroshin/";
  const std::set<std::string> ours = {
      "usr/bin/kuroshin",
      "usr/bin/kuroshin-verify",
      "usr/share/applications/" + kAppId + ".desktop",
      "usr/share/metainfo/" + kAppId + ".metainfo.xml",
      "usr/share/icons/hicolor/256x256/apps/" + kAppId + ".png",
  };
  std::set<std::string> found;
  for (const auto& [path, size] : Listing(root)) {
    if (!fs::is_regular_file(root + "/" + path)) continue;
    if (path.rfind(share, 0) != 0) {
      EXPECT_TRUE(ours.count(path)) << "not ours to install: " << path;
      found.insert(path);
      continue;
    }
    // The data as in the repository, file for file.
    const fs::path relative = path.substr(share.size());
    EXPECT_FALSE(IsRunTimeFile(relative)) << path;
    const fs::path source = fs::path(KUROSHIN_SOURCE_DIR) / "data" / relative;
    EXPECT_TRUE(fs::is_regular_file(source) && fs::file_size(source) == size) << path;
  }
  EXPECT_EQ(found, ours);
  const std::string data = std::string(KUROSHIN_SOURCE_DIR) + "/data";
  for (const auto& [path, size] : Listing(data)) {
    if (fs::is_regular_file(data + "/" + path) && !IsRunTimeFile(path)) {
      EXPECT_TRUE(FileExists(root + "/" + share + path)) << "left out: " << path;
    }
  }

  // What the desktop and software centres read passes their own checks.
  const ChildResult desktop = RunChild(
      {"/usr/bin/desktop-file-validate", root + "/usr/share/applications/" + kAppId + ".desktop"},
      {});
  EXPECT_TRUE(desktop.exited && desktop.exitCode == 0 && desktop.out.empty()) << Describe(desktop);
  const ChildResult metainfo =
      RunChild({"/usr/bin/appstreamcli", "validate", "--no-net", "--strict",
                root + "/usr/share/metainfo/" + kAppId + ".metainfo.xml"},
               {});
  EXPECT_TRUE(metainfo.exited && metainfo.exitCode == 0) << Describe(metainfo);
}

// The installed game run from elsewhere, as from the desktop's menu or the
// PATH: the data comes from the install, and every file it writes lands in
// the player's folders.
class InstalledGame : public testing::Test {
protected:
  void SetUp() override {
    dir = fs::absolute(MakeTestDirectory("installed")).string();
    root = dir + "/root";
    ASSERT_EQ(InstallInto(root), "");
    installed = Listing(root);
    game = root + "/usr/bin/kuroshin";
    home = dir + "/home";
    work = dir + "/work";
    fs::create_directories(home);
    fs::create_directories(work);
  }

  ChildOptions In(const std::vector<std::string>& environment) const {
    ChildOptions options;
    options.directory = work;
    options.timeoutSeconds = 240;
    options.environment = environment;
    return options;
  }

  ChildResult Play(const std::vector<std::string>& environment,
                   std::vector<std::string> args) const {
    args.insert(args.begin(), {game, "headless=1", "fixedstep=1"});
    return RunChild(args, In(environment));
  }

  std::string dir, root, game, home, work;
  std::map<std::string, std::uintmax_t> installed;
};

TEST_F(InstalledGame, WritesOnlyIntoThePlayersFolders) {
  // The XDG defaults below HOME, each folder made private.
  const std::vector<std::string> defaults = {
      "HOME=" + home, "XDG_DATA_HOME=", "XDG_CONFIG_HOME=", "XDG_STATE_HOME=relative/state"};
  ChildResult first = Play(defaults, {"frames=30"});
  ASSERT_TRUE(first.exited && first.exitCode == 0) << Describe(first);
  const std::string state = home + "/.local/state/kuroshin";
  EXPECT_TRUE(FileExists(state + "/log.txt"));
  for (const char* folder : {"/.local", "/.local/state", "/.local/state/kuroshin"})
    EXPECT_EQ(ModeOf(home + folder), 0700u) << folder;

  // A crash reports beside the log.
  ChildOptions crashing = In(defaults);
  crashing.readyText = "Kuroshin:";
  crashing.onReady = [](pid_t pid) { kill(pid, SIGSEGV); };
  ChildResult crash = RunChild({game, "headless=1"}, crashing);
  EXPECT_EQ(crash.signal, SIGSEGV) << Describe(crash);
  EXPECT_GT(ReadWholeFile(state + "/MiniDump.dmp").size(), 0u);
  EXPECT_NE(ReadWholeFile(state + "/log.txt").find("Crash Report"), std::string::npos);

  EXPECT_EQ(Listing(root), installed) << "the game wrote into its install";
  EXPECT_TRUE(fs::is_empty(work)) << "the game wrote into the working directory";
}

// A level played to its end with input from the working directory: the
// result and the run land in the XDG folders named, and the next run's ghost
// finds the run there.
TEST_F(InstalledGame, KeepsTheRunWhereTheNextRunsGhostFindsIt) {
  // A shipped level: the install holds no test maps.
  const std::string path = "Levels/1 Tutorial/01 Dawn Path.tmx";
  const std::string run = ReadWholeFile(std::string(KUROSHIN_SOURCE_DIR) +
                                        "/tests/solutions/1 Tutorial/01 Dawn Path.rpl");
  ASSERT_FALSE(run.empty());
  Put(work + "/run.rpl", run);
  const std::string data = dir + "/xdg data";
  const std::string config = dir + "/xdg config";
  const std::string state = dir + "/xdg state";
  const std::vector<std::string> named = {"HOME=" + home, "XDG_DATA_HOME=" + data,
                                          "XDG_CONFIG_HOME=" + config, "XDG_STATE_HOME=" + state};
  // A damaged options file shows that the options are read from there.
  Put(config + "/kuroshin/options.cfg", "<Options");
  const std::string level = "level=" + path;
  ChildResult played =
      Play(named, {level, "input=run.rpl", "frames=" + std::to_string(run.size() + 60)});
  ASSERT_TRUE(played.exited && played.exitCode == 0) << Describe(played);
  const std::string saved = data + "/kuroshin/Levels/1 Tutorial/01 Dawn Path.rpl";
  EXPECT_EQ(ReadWholeFile(saved), run);
  EXPECT_NE(ReadWholeFile(data + "/kuroshin/Saves/save.sav").find("01 Dawn Path"),
            std::string::npos);
  // No achievement comes of one tutorial level, so save.stats, written
  // beside save.sav through the same folder, is not written here.
  const std::string log = ReadWholeFile(state + "/kuroshin/log.txt");
  EXPECT_NE(log.find("The options file " + config + "/kuroshin/options.cfg is damaged"),
            std::string::npos)
      << log;
  for (const std::string& folder :
       {data, data + "/kuroshin/Saves", data + "/kuroshin/Levels/1 Tutorial", state})
    EXPECT_EQ(ModeOf(folder), 0700u) << folder;

  // The installed checker agrees, run from the same place.
  ChildResult verified = RunChild({root + "/usr/bin/kuroshin-verify", path, "run.rpl"}, In(named));
  EXPECT_TRUE(verified.exited && verified.exitCode == 0) << Describe(verified);
  EXPECT_EQ(verified.out.rfind("completed steps=", 0), 0u) << verified.out;

  // The same frame with and without the saved run differs by its ghost.
  ChildResult ghost = Play(named, {level, "frames=150", "screenshot=ghost.png"});
  ASSERT_TRUE(ghost.exited && ghost.exitCode == 0) << Describe(ghost);
  fs::rename(saved, saved + ".aside");
  ChildResult alone = Play(named, {level, "frames=150", "screenshot=alone.png"});
  ASSERT_TRUE(alone.exited && alone.exitCode == 0) << Describe(alone);
  const std::string withGhost = ReadWholeFile(work + "/ghost.png");
  const std::string withoutGhost = ReadWholeFile(work + "/alone.png");
  ASSERT_FALSE(withGhost.empty());
  EXPECT_NE(withGhost, withoutGhost);

  EXPECT_EQ(Listing(root), installed) << "the game wrote into its install";
  EXPECT_EQ(Listing(work),
            (std::map<std::string, std::uintmax_t>{{"run.rpl", run.size()},
                                                   {"ghost.png", withGhost.size()},
                                                   {"alone.png", withoutGhost.size()}}));
}

}  // namespace
