// importbench: times a whole import of a large drawing through the stand-in
// host against a plain line read of the same file, for the 64-bit and the
// 32-bit build.
//
// Each build gets the same number of pairs of runs; within a pair the import
// and the plain read follow each other, in alternating order from pair to
// pair, so that a slow spell of the machine hits both alike. Every run is a
// whole process, started with fork and exec and timed from before the fork
// to the return of wait4, whose resource usage gives the peak memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/object_counter.h"
#include "bench/size_text.h"

namespace {

const char kUsage[] = R"(usage: importbench [OPTIONS]

Times a whole "orvhost import FILE" against a plain line read of FILE
(plainread: fgets into a 2000-byte buffer, first word cut off), for the
64-bit and the 32-bit build, and reports the median times, the speeds, the
ratio import/plain and the peak memory of both. The 32-bit plain read is
plainread32, run the way the 32-bit host is run: directly, or through
qemu-i386 when this kernel cannot run 32-bit programs.

Options:
  --drawing FILE    the drawing to import; generated with dxfgen when it is
                    missing (default: DIR/bench/drawing-MIX-BYTES-seedN[...].dxf,
                    DIR being the folder above this program's bin/)
  --mix MIX         what a generated drawing holds: classic (default), modern,
                    blocks, hatches, or a hostile drawing hostile-NAME
                    (dxfgen --help describes them)
  --size SIZE       size of a generated drawing (default 100MB; units B, KB,
                    MB, GB, KiB, MiB, GiB)
  --hatch-count N   a generated hatches drawing of N hatches, whatever its
                    size (--mix hatches)
  --seed N          seed of a generated drawing (default 1)
  --no-extents      a generated drawing without $EXTMIN/$EXTMAX
  --crlf            a generated drawing with CR LF line ends
  --regenerate      generate the drawing even when the file exists
  --pairs N         timed pairs (import, plain read) per build (default 5)
  --builds LIST     64, 32 or 64,32 (default 64,32)
  --import-flag F   a flag of the instruction string after the file name,
                    e.g. -P2 for a 3D import or -X for the full reading (may
                    be repeated; default: none, which imports every entity
                    kind in 2D with the classic reading)
  --no-object-count leave out the untimed import that counts the objects
  --help            show this text

MB/s counts 1 MB as 1,000,000 bytes; memory is the largest maximum resident
set size (wait4) of a program's runs, in MiB. The objects an import created
are counted in one more import per build, untimed, whose frame orvhost writes
as JSON (--json); objects/s is that count over the median import time. The
exit status is 0 when every run succeeded, 1 when an import or a plain read
failed, 2 for a usage error.
)";

const char* const kMixes[] = {"classic", "modern", "blocks", "hatches"};

struct Settings {
  std::string drawing;
  std::string mix = "classic";
  uint64_t size = 100'000'000;
  uint64_t hatchCount = 0;
  uint64_t seed = 1;
  bool extents = true;
  bool crlf = false;
  bool regenerate = false;
  int pairs = 5;
  std::vector<int> builds = {64, 32};
  std::vector<std::string> importFlags;
  bool countObjects = true;
};

[[noreturn]] void usageError(const std::string& what) {
  std::fprintf(stderr, "importbench: %s\n(importbench --help tells how to use it)\n", what.c_str());
  std::exit(2);
}

bool parseWhole(const char* text, uint64_t& value) {
  if (!text || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long parsed = std::strtoull(text, &end, 10);
  if (*end || errno == ERANGE) return false;
  value = parsed;
  return true;
}

Settings parseSettings(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) usageError(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (arg == "--drawing") {
      settings.drawing = value();
    } else if (arg == "--mix") {
      settings.mix = value();
      // dxfgen knows the hostile drawings' names.
      const bool hostile = settings.mix.rfind("hostile-", 0) == 0;
      if (!hostile && std::find(std::begin(kMixes), std::end(kMixes), settings.mix) == std::end(kMixes))
        usageError("--mix takes classic, modern, blocks, hatches or hostile-NAME, not \"" + settings.mix + "\"");
    } else if (arg == "--hatch-count") {
      const char* text = value();
      if (!parseWhole(text, settings.hatchCount) || settings.hatchCount == 0 || settings.hatchCount > 100'000'000)
        usageError(std::string("--hatch-count takes a number from 1 to 100000000, not \"") + text + "\"");
    } else if (arg == "--size") {
      const char* text = value();
      if (!drawport_bench::parseSize(text, settings.size) || settings.size == 0)
        usageError(std::string("--size takes a size such as 100MB, not \"") + text + "\"");
    } else if (arg == "--seed") {
      const char* text = value();
      if (!parseWhole(text, settings.seed)) usageError(std::string("--seed takes a whole number, not \"") + text + "\"");
    } else if (arg == "--no-extents") {
      settings.extents = false;
    } else if (arg == "--crlf") {
      settings.crlf = true;
    } else if (arg == "--regenerate") {
      settings.regenerate = true;
    } else if (arg == "--pairs") {
      const char* text = value();
      uint64_t pairs = 0;
      if (!parseWhole(text, pairs) || pairs < 1 || pairs > 1000)
        usageError(std::string("--pairs takes a number from 1 to 1000, not \"") + text + "\"");
      settings.pairs = static_cast<int>(pairs);
    } else if (arg == "--builds") {
      const std::string list = value();
      if (list == "64") settings.builds = {64};
      else if (list == "32") settings.builds = {32};
      else if (list == "64,32") settings.builds = {64, 32};
      else if (list == "32,64") settings.builds = {32, 64};
      else usageError("--builds takes 64, 32 or 64,32, not \"" + list + "\"");
    } else if (arg == "--import-flag") {
      settings.importFlags.push_back(value());
    } else if (arg == "--no-object-count") {
      settings.countObjects = false;
    } else {
      usageError("unknown argument " + arg);
    }
  }
  if (settings.hatchCount && settings.mix != "hatches") usageError("--hatch-count is for --mix hatches");
  return settings;
}

// --- Paths.

std::string ownFolder() {
  std::vector<char> path(4096);
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return ".";
  const std::string self(path.data(), static_cast<size_t>(length));
  const size_t slash = self.rfind('/');
  return slash == std::string::npos ? "." : self.substr(0, slash);
}

std::string parentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFile(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool makeFolders(const std::string& path) {
  if (path.empty() || path == "/" || path == ".") return true;
  struct stat status;
  if (::stat(path.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
  if (!makeFolders(parentOf(path))) return false;
  return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

// --- Processes.

double now() {
  timespec time;
  ::clock_gettime(CLOCK_MONOTONIC, &time);
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

struct RunResult {
  double seconds = 0;
  long maxRssKiB = 0;
  double userSeconds = 0, systemSeconds = 0;
  int status = 0;         // as wait4 gives it
  int execError = 0;      // errno of a failed exec, 0 when the program ran
  std::string output;     // standard output, when captured

  bool succeeded() const { return execError == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }
  std::string failure() const {
    if (execError) return std::string("cannot be started: ") + std::strerror(execError);
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "exit status " + std::to_string(WEXITSTATUS(status));
  }
};

enum class Stream { Discard, Inherit, Capture };

// Takes captured standard output piece by piece instead of keeping it.
using OutputSink = std::function<void(std::string_view)>;

// Runs a program to its end: the time from before the fork to the return of
// wait4, with wait4's resource usage. A failed exec is reported through a
// close-on-exec pipe, so it cannot pass for a program that failed.
RunResult run(const std::vector<std::string>& command, Stream out, Stream err, const OutputSink& sink = {}) {
  RunResult result;
  std::vector<char*> arguments;
  for (const std::string& word : command) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);

  int execPipe[2];
  int outPipe[2] = {-1, -1};
  if (::pipe2(execPipe, O_CLOEXEC) != 0 || (out == Stream::Capture && ::pipe2(outPipe, O_CLOEXEC) != 0)) {
    result.execError = errno;
    return result;
  }
  const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  const bool searchPath = command[0].find('/') == std::string::npos;

  const double start = now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (out == Stream::Discard) ::dup2(devNull, STDOUT_FILENO);
    if (out == Stream::Capture) ::dup2(outPipe[1], STDOUT_FILENO);
    if (err == Stream::Discard) ::dup2(devNull, STDERR_FILENO);
    if (searchPath) ::execvp(arguments[0], arguments.data());
    else ::execv(arguments[0], arguments.data());
    const int error = errno;
    if (::write(execPipe[1], &error, sizeof error) < 0) {}
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(execPipe[1]);
  if (outPipe[1] >= 0) ::close(outPipe[1]);
  if (devNull >= 0) ::close(devNull);
  if (pid < 0) {
    ::close(execPipe[0]);
    if (outPipe[0] >= 0) ::close(outPipe[0]);
    result.execError = forkError;
    return result;
  }
  if (out == Stream::Capture) {
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(outPipe[0], buffer, sizeof buffer)) != 0) {
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) break;
      if (sink)
        sink(std::string_view(buffer, static_cast<size_t>(got)));
      else
        result.output.append(buffer, static_cast<size_t>(got));
    }
    ::close(outPipe[0]);
  }
  int error = 0;
  ssize_t got;
  while ((got = ::read(execPipe[0], &error, sizeof error)) < 0 && errno == EINTR) {}
  ::close(execPipe[0]);
  rusage usage{};
  while (::wait4(pid, &result.status, 0, &usage) < 0 && errno == EINTR) {}
  result.seconds = now() - start;
  if (got == static_cast<ssize_t>(sizeof error)) result.execError = error;
  result.maxRssKiB = usage.ru_maxrss;
  result.userSeconds = static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) * 1e-6;
  result.systemSeconds =
      static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;
  return result;
}

// --- The drawing.

struct FileFacts {
  uint64_t bytes = 0;
  uint64_t lines = 0;  // as fgets with a 2000-byte buffer returns them
};

// Reads the whole file once, so that every timed run finds it in the page
// cache, and counts its lines the way the plain read must count them: a
// line of more than 1999 characters comes back in pieces of 1999.
std::optional<FileFacts> warmAndCount(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return std::nullopt;
  ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
  FileFacts facts;
  std::vector<char> buffer(size_t{1} << 20);
  uint64_t piece = 0;  // characters of the current piece so far
  for (;;) {
    const ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(descriptor);
      return std::nullopt;
    }
    if (got == 0) break;
    facts.bytes += static_cast<uint64_t>(got);
    for (ssize_t i = 0; i < got; ++i) {
      ++piece;
      if (buffer[static_cast<size_t>(i)] == '\n' || piece == 1999) {
        ++facts.lines;
        piece = 0;
      }
    }
  }
  if (piece > 0) ++facts.lines;
  ::close(descriptor);
  return facts;
}

std::string defaultDrawing(const Settings& settings, const std::string& root) {
  std::string name =
      "drawing-" + settings.mix + "-" +
      (settings.hatchCount ? std::to_string(settings.hatchCount) + "hatches" : std::to_string(settings.size)) +
      "-seed" + std::to_string(settings.seed);
  if (!settings.extents) name += "-noextents";
  if (settings.crlf) name += "-crlf";
  return root + "/bench/" + name + ".dxf";
}

bool generate(const Settings& settings, const std::string& bin, const std::string& path) {
  if (!makeFolders(parentOf(path))) {
    std::fprintf(stderr, "importbench: cannot create the folder of %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  std::vector<std::string> command = {bin + "/dxfgen", "--mix", settings.mix, "--seed", std::to_string(settings.seed)};
  command.insert(command.end(), {"--size", std::to_string(settings.size)});
  if (settings.hatchCount) {
    command.push_back("--hatch-count");
    command.push_back(std::to_string(settings.hatchCount));
  }
  if (!settings.extents) command.push_back("--no-extents");
  if (settings.crlf) command.push_back("--crlf");
  command.push_back(path);
  std::printf("generating the drawing with dxfgen...\n");
  std::fflush(stdout);
  const RunResult generated = run(command, Stream::Inherit, Stream::Inherit);
  if (!generated.succeeded()) {
    std::fprintf(stderr, "importbench: dxfgen failed (%s)\n", generated.failure().c_str());
    return false;
  }
  std::printf("generated in %.1f s\n", generated.seconds);
  return true;
}

// --- Statistics.

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  if (n == 0) return 0;
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Measured {
  std::vector<double> seconds, user, system;
  long maxRssKiB = 0;
  void add(const RunResult& result) {
    seconds.push_back(result.seconds);
    user.push_back(result.userSeconds);
    system.push_back(result.systemSeconds);
    maxRssKiB = std::max(maxRssKiB, result.maxRssKiB);
  }
};

struct BuildFigures {
  int bits = 0;
  bool ok = false;
  double importMBs = 0, plainMBs = 0, ratioOfPairs = 0, ratioOfMedians = 0;
  long importRssKiB = 0, plainRssKiB = 0;
  std::optional<uint64_t> objects;
  double objectsPerSecond = 0;
};

double mib(long kib) { return static_cast<double>(kib) / 1024.0; }

// --- The objects an import created.

// One more import, untimed, with the frame written as JSON to a pipe; the
// objects are counted as it streams past, so nothing lands on the disk.
std::optional<uint64_t> countObjects(std::vector<std::string> importCommand) {
  importCommand.insert(importCommand.begin() + 1, {"--json", "/dev/stdout"});
  drawport_bench::ObjectCounter counter;
  const RunResult counted =
      run(importCommand, Stream::Capture, Stream::Discard, [&counter](std::string_view piece) { counter.feed(piece); });
  counter.finish();
  if (!counted.succeeded()) {
    std::printf("  objects: not counted, the counting import failed (%s)\n", counted.failure().c_str());
    return std::nullopt;
  }
  if (!counter.sawFrame()) {
    std::printf("  objects: not counted, the counting import wrote no frame to /dev/stdout\n");
    return std::nullopt;
  }
  std::printf("  objects created: %llu (%s); counted in an untimed import of %.1f s\n",
              static_cast<unsigned long long>(counter.total()), counter.kinds().c_str(), counted.seconds);
  return counter.total();
}

// One build: pairs of runs, the order alternating from pair to pair.
BuildFigures measureBuild(int bits, const Settings& settings, const std::string& bin, const std::string& root,
                          const std::string& drawing, const FileFacts& facts, bool emulate32) {
  BuildFigures figures;
  figures.bits = bits;
  const std::string addOn = root + "/addons/" + std::to_string(bits) + "/libdrawport.so";
  std::vector<std::string> importCommand = {bin + "/orvhost", "--addon", addOn, "import", drawing};
  importCommand.insert(importCommand.end(), settings.importFlags.begin(), settings.importFlags.end());
  std::vector<std::string> plainCommand = {bin + (bits == 32 ? "/plainread32" : "/plainread"), drawing};
  if (bits == 32 && emulate32) plainCommand.insert(plainCommand.begin(), "qemu-i386");

  std::printf("\n%d-bit build: %s\n", bits, addOn.c_str());
  std::printf("  import:     orvhost --addon %s import FILE", addOn.c_str());
  for (const std::string& flag : settings.importFlags) std::printf(" %s", flag.c_str());
  std::printf("%s\n", bits == 32 ? (emulate32 ? "  (orvhost hands over to orvhost32, run through qemu-i386)"
                                              : "  (orvhost hands over to orvhost32)")
                                 : "");
  std::printf("  plain read: %s%s FILE\n", bits == 32 && emulate32 ? "qemu-i386 " : "",
              (bin + (bits == 32 ? "/plainread32" : "/plainread")).c_str());
  if (!isFile(addOn)) {
    std::printf("  FAILED: the add-on %s is not built\n", addOn.c_str());
    return figures;
  }
  std::printf("  %4s  %10s  %10s  %7s\n", "pair", "import s", "plain s", "ratio");

  Measured importRuns, plainRuns;
  std::vector<double> ratios;
  for (int pair = 0; pair < settings.pairs; ++pair) {
    RunResult importRun, plainRun;
    const bool importFirst = pair % 2 == 0;
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == importFirst) importRun = run(importCommand, Stream::Discard, Stream::Discard);
      else plainRun = run(plainCommand, Stream::Capture, Stream::Inherit);
    }
    if (!importRun.succeeded()) {
      std::string shown;
      for (const std::string& word : importCommand) shown += (shown.empty() ? "" : " ") + word;
      std::printf("  FAILED: the import failed (%s); see its messages with:\n    %s\n", importRun.failure().c_str(),
                  shown.c_str());
      return figures;
    }
    if (!plainRun.succeeded()) {
      std::printf("  FAILED: the plain read failed (%s)\n", plainRun.failure().c_str());
      return figures;
    }
    unsigned long long lines = 0, checksum = 0;
    if (std::sscanf(plainRun.output.c_str(), "lines %llu words-checksum %llu", &lines, &checksum) != 2 ||
        lines != facts.lines) {
      std::printf("  FAILED: the plain read reported \"%s\", but the file has %llu lines\n",
                  plainRun.output.substr(0, plainRun.output.find('\n')).c_str(),
                  static_cast<unsigned long long>(facts.lines));
      return figures;
    }
    importRuns.add(importRun);
    plainRuns.add(plainRun);
    ratios.push_back(importRun.seconds / plainRun.seconds);
    std::printf("  %4d  %10.3f  %10.3f  %7.2f%s\n", pair + 1, importRun.seconds, plainRun.seconds, ratios.back(),
                importFirst ? "" : "   (plain read first)");
    std::fflush(stdout);
  }

  const double megabytes = static_cast<double>(facts.bytes) / 1e6;
  const double importMedian = median(importRuns.seconds), plainMedian = median(plainRuns.seconds);
  figures.ok = true;
  figures.importMBs = megabytes / importMedian;
  figures.plainMBs = megabytes / plainMedian;
  figures.ratioOfPairs = median(ratios);
  figures.ratioOfMedians = importMedian / plainMedian;
  figures.importRssKiB = importRuns.maxRssKiB;
  figures.plainRssKiB = plainRuns.maxRssKiB;

  std::printf("  %-22s %14s %14s\n", "", "import", "plain read");
  std::printf("  %-22s %12.3f s %12.3f s\n", "median time", importMedian, plainMedian);
  std::printf("  %-22s %10.1f MB/s %10.1f MB/s\n", "speed", figures.importMBs, figures.plainMBs);
  std::printf("  %-22s %12.3f s %12.3f s\n", "median CPU user", median(importRuns.user), median(plainRuns.user));
  std::printf("  %-22s %12.3f s %12.3f s\n", "median CPU system", median(importRuns.system), median(plainRuns.system));
  std::printf("  %-22s %10.1f MiB %10.1f MiB\n", "peak memory (max RSS)", mib(figures.importRssKiB),
              mib(figures.plainRssKiB));
  std::printf("  ratio import/plain: %.2f (median of the pair ratios), %.2f (ratio of the medians)\n",
              figures.ratioOfPairs, figures.ratioOfMedians);
  if (settings.countObjects) {
    std::fflush(stdout);
    figures.objects = countObjects(importCommand);
    if (figures.objects) {
      figures.objectsPerSecond = static_cast<double>(*figures.objects) / importMedian;
      std::printf("  %-22s %10.0f objects/s\n", "objects per second", figures.objectsPerSecond);
    }
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings = parseSettings(argc, argv);
  const std::string bin = ownFolder();
  const std::string root = parentOf(bin);
  const std::string drawing = settings.drawing.empty() ? defaultDrawing(settings, root) : settings.drawing;

  if (settings.regenerate || !isFile(drawing)) {
    if (!generate(settings, bin, drawing)) return 1;
  }
  const std::optional<FileFacts> facts = warmAndCount(drawing);
  if (!facts) {
    std::fprintf(stderr, "importbench: cannot read %s: %s\n", drawing.c_str(), std::strerror(errno));
    return 1;
  }
  std::printf("drawing: %s\n  %.2f MB (%llu bytes), %llu lines; page cache warmed\n", drawing.c_str(),
              static_cast<double>(facts->bytes) / 1e6, static_cast<unsigned long long>(facts->bytes),
              static_cast<unsigned long long>(facts->lines));
  if (facts->bytes > 0x7fffffffULL)
    std::printf("  note: the add-on measures a file in a signed 32-bit number; this one is larger than 2 GiB\n");

  // A kernel without 32-bit support refuses the program with ENOEXEC; the
  // host then runs its 32-bit half through qemu-i386, and so does this.
  bool emulate32 = false;
  if (std::find(settings.builds.begin(), settings.builds.end(), 32) != settings.builds.end()) {
    const RunResult probe = run({bin + "/plainread32", "--help"}, Stream::Discard, Stream::Discard);
    emulate32 = probe.execError == ENOEXEC;
    if (emulate32)
      std::printf("32-bit programs (the 32-bit host and plainread32) run through qemu-i386: this kernel cannot run "
                  "them directly, so the 32-bit figures include the emulation\n");
    else if (probe.execError)
      std::printf("note: plainread32 cannot be started (%s)\n", std::strerror(probe.execError));
    else
      std::printf("32-bit programs run directly\n");
  }
  std::printf("%d pair%s per build; MB = 1,000,000 bytes\n", settings.pairs, settings.pairs == 1 ? "" : "s");

  std::vector<BuildFigures> all;
  for (int bits : settings.builds)
    all.push_back(measureBuild(bits, settings, bin, root, drawing, *facts, emulate32));

  std::string flags;
  for (const std::string& flag : settings.importFlags) flags += " " + flag;
  std::printf("\nsummary (%.2f MB drawing, import flags:%s, %d pair%s per build):\n",
              static_cast<double>(facts->bytes) / 1e6, flags.empty() ? " none" : flags.c_str(), settings.pairs,
              settings.pairs == 1 ? "" : "s");
  std::printf("  %-6s %12s %12s %14s %14s %12s %12s %12s %12s\n", "build", "import MB/s", "plain MB/s", "ratio (pairs)",
              "ratio (med.)", "import MiB", "plain MiB", "objects", "objects/s");
  bool ok = true;
  for (const BuildFigures& figures : all) {
    if (!figures.ok) {
      std::printf("  %-6s FAILED\n", (std::to_string(figures.bits) + "-bit").c_str());
      ok = false;
      continue;
    }
    const std::string objects = figures.objects ? std::to_string(*figures.objects) : "-";
    char perSecond[32] = "-";
    if (figures.objects) std::snprintf(perSecond, sizeof perSecond, "%.0f", figures.objectsPerSecond);
    std::printf("  %-6s %12.1f %12.1f %14.2f %14.2f %12.1f %12.1f %12s %12s\n",
                (std::to_string(figures.bits) + "-bit").c_str(), figures.importMBs, figures.plainMBs,
                figures.ratioOfPairs, figures.ratioOfMedians, mib(figures.importRssKiB), mib(figures.plainRssKiB),
                objects.c_str(), perSecond);
  }
  return ok ? 0 : 1;
}
