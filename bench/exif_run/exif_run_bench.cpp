// The copy run with Exif優先 over 5,000 JPEG photos of 200 KiB, each tagged
// with its own capture date as a camera tags it, against `cp -p` of the same
// files and the run without Exif優先, timed in turns in one run. With
// --videos, MP4 videos of --video-mib MiB join them, each with its own
// creation time in its movie header (ffmpeg makes one; its copies get their
// dates written into the header).
//
//   exif_run_bench [--dir /tmp] [--files 5000] [--kib 200] [--rounds 5]
//                  [--videos 0] [--video-mib 3]
//
// The fresh folders and the rounds are those of every copy-run benchmark
// (bench/common/copy_fixture.h): every turn starts after a full `sync`.
// What a turn is timed for: from its start until what it wrote is on the
// disk, that is the copying itself and then `syncfs` of the file system it
// wrote to, for all three alike. Without the flush a turn's figure depends
// on how much of the previous turns' write-back the kernel happens to do
// meanwhile (single `cp -p` turns varied threefold). The flush is printed
// on its own as well.
//
// Checks that every copy is named after its capture date, not its
// last-write date; deletes every file it made.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/common/copy_fixture.h"
#include "bench/common/core_copy_run.h"
#include "platform/exif/capture_date.h"
#include "platform/user_locale.h"
#include "platform/video/video_date.h"
#include "tests/support/photos.h"

namespace {

namespace fs = std::filesystem;

constexpr char kTaggedDate[] = "2019:04:30 10:11:12";

// One photo of about `kib` KiB, tagged with kTaggedDate.
std::string MakePhoto(const fs::path& folder, int kib) {
  int side = 64;
  std::string jpeg;
  // Noise of this quality takes about 3 bytes a pixel; grow to the size.
  while (static_cast<int>((jpeg = test_support::JpegBytes(side, side, true)).size()) < kib * 1024)
    side += 16;
  const fs::path sample = folder / "sample.jpg";
  std::ofstream(sample, std::ios::binary) << jpeg;
  test_support::TagWithDates(sample, {kTaggedDate, kTaggedDate, kTaggedDate});
  std::ifstream in(sample, std::ios::binary);
  std::string tagged{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  fs::remove(sample);
  return tagged;
}

// `count` photos, the i-th taken i minutes after the first, all last
// written on 5 January 2000.
void MakePhotos(const fs::path& folder, int count, int kib) {
  const std::string photo = MakePhoto(folder, kib);
  std::tm jan5{};
  jan5.tm_year = 100;
  jan5.tm_mday = 5;
  const std::time_t mtime = std::mktime(&jan5);
  for (int i = 0; i < count; ++i) {
    std::string bytes = photo;
    char date[32];
    std::snprintf(date, sizeof date, "2019:04:%02d %02d:%02d:12", 1 + i / 1440, i / 60 % 24,
                  i % 60);
    for (size_t at = bytes.find(kTaggedDate); at != std::string::npos;
         at = bytes.find(kTaggedDate, at + 1)) {
      bytes.replace(at, sizeof kTaggedDate - 1, date);
    }
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
}

// One MP4 of about `mib` MiB, made by ffmpeg from noise, so that it does
// not compress below that; no value when ffmpeg is missing or fails.
std::optional<std::string> MakeVideo(const fs::path& folder, int mib) {
  const fs::path sample = folder / "sample.mp4";
  const std::string command =
      "ffmpeg -v error -y -f lavfi -i 'color=c=gray:s=640x360:r=30,noise=alls=60:allf=t' -t " +
      std::to_string(mib) + " -c:v libx264 -preset ultrafast -b:v 8M -maxrate 8M -bufsize 2M " +
      "-metadata creation_time=2019-04-01T00:00:00Z '" + sample.string() + "'";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  std::ifstream in(sample, std::ios::binary);
  std::string video{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  fs::remove(sample);
  if (video.find("mvhd") == std::string::npos) return std::nullopt;
  return video;
}

// `count` copies of `video`, the i-th recorded i minutes after 2019-04-10
// 00:00 UTC (its movie header's creation and change times, seconds since
// 1904), all last written on 5 January 2000.
void MakeVideos(const fs::path& folder, const std::string& video, int count) {
  std::tm jan5{};
  jan5.tm_year = 100;
  jan5.tm_mday = 5;
  const std::time_t mtime = std::mktime(&jan5);
  const std::size_t header = video.find("mvhd") + 8;  // after the version and flags
  for (int i = 0; i < count; ++i) {
    std::string bytes = video;
    const std::uint32_t since_1904 = 1554854400u + 2082844800u + static_cast<std::uint32_t>(i) * 60;
    for (std::size_t field : {header, header + 4})
      for (int b = 0; b < 4; ++b) bytes[field + b] = static_cast<char>(since_1904 >> (24 - 8 * b));
    char name[32];
    std::snprintf(name, sizeof name, "MVI_%04d.MP4", i);
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
}

// Copies named after their capture date (2019), not their file date (2000).
std::size_t NamedByCaptureDate(const fs::path& folder) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().starts_with("2019")) ++n;
  return n;
}

// Writes back everything dirty on the file system holding `dir`; the
// seconds it took.
double FlushSeconds(const fs::path& dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const auto start = bench::Clock::now();
  if (fd >= 0) {
    syncfs(fd);
    close(fd);
  } else {
    sync();
  }
  return bench::Seconds(bench::Clock::now() - start);
}

// User and system time of this process and of its children that have ended:
// steadier than the wall clock on a busy machine.
double CpuSeconds() {
  double seconds = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    struct rusage usage {};
    getrusage(who, &usage);
    for (const timeval& t : {usage.ru_utime, usage.ru_stime})
      seconds += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  }
  return seconds;
}

struct Extra {
  std::vector<double> flushes;  // seconds of the flush alone
  std::vector<double> cpu;      // user + system seconds of the turn
};

// `run` timed until what it wrote is on the disk; the flush alone and the
// processor time go into `extra`.
bench::TimedTurn::Run Flushed(bench::TimedTurn::Run run, const fs::path& dir, Extra& extra) {
  return [run = std::move(run), dir, &extra](int round) -> std::optional<double> {
    const double cpu = CpuSeconds();
    const std::optional<double> t = run(round);
    if (!t) return t;
    const double flush = FlushSeconds(dir);
    if (round > 0) {
      extra.flushes.push_back(flush);
      extra.cpu.push_back(CpuSeconds() - cpu);
    }
    return *t + flush;
  };
}

}  // namespace

int main(int argc, char** argv) {
  bench::CopyBenchArgs args = bench::ParseCopyBenchArgs(argc, argv);
  int kib = 200;
  int videos = 0;
  int video_mib = 3;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--kib") kib = std::atoi(argv[i + 1]);
    if (std::string(argv[i]) == "--videos") videos = std::atoi(argv[i + 1]);
    if (std::string(argv[i]) == "--video-mib") video_mib = std::atoi(argv[i + 1]);
  }
  platform::ScopedUserLocale locale("ja_JP");
  const int files = args.files;
  bool videos_made = true;
  std::unique_ptr<bench::CopyFixture> fixture = bench::MakeCopyFixture(
      args,
      [&](const fs::path& folder) {
        MakePhotos(folder, files, kib);
        if (videos == 0) return;
        const std::optional<std::string> video = MakeVideo(folder, video_mib);
        if (video)
          MakeVideos(folder, *video, videos);
        else
          videos_made = false;
      },
      static_cast<std::size_t>(files + videos));
  if (!videos_made) {
    std::fprintf(stderr, "the videos need ffmpeg (apt-get install ffmpeg)\n");
    return 1;
  }
  if (!fixture) return 1;

  bench::CoreCopyRun exif_run;
  exif_run.input().naming.date_source = app::DateSource::kCaptureDate;
  bench::CoreCopyRun plain_run;
  fs::path exif_src;
  fs::path plain_src;
  bool all_captured = true;
  std::vector<bench::TimedTurn> turns;
  std::map<std::string, Extra> extra;
  const fs::path on(args.dir);
  turns.push_back(
      {"Exif run",
       Flushed(
           [&](int) {
             auto t = exif_run.Time(exif_src, fixture->FileCount());
             if (NamedByCaptureDate(exif_src / "NewFolder") != fixture->FileCount())
               all_captured = false;
             return t;
           },
           on, extra["Exif run"]),
       [&](int round) { exif_src = fixture->NewSourceFolder("exif" + std::to_string(round)); }});
  turns.push_back(
      {"cp -p",
       Flushed([&](int round) { return fixture->TimeCpCopy("cp" + std::to_string(round)); }, on,
               extra["cp -p"])});
  turns.push_back(
      {"copy run",
       Flushed([&](int) { return plain_run.Time(plain_src, fixture->FileCount()); }, on,
               extra["copy run"]),
       [&](int round) { plain_src = fixture->NewSourceFolder("plain" + std::to_string(round)); }});
  const bool ok = bench::RunRounds(args.rounds, turns);

  // The capture dates alone, read from a warm cache: what Exif優先 adds to
  // a run before any copying.
  const fs::path read_src = fixture->NewSourceFolder("read");
  std::vector<double> reads;
  std::size_t dated = 0;
  for (int round = 0; round < 3; ++round) {
    dated = 0;
    const auto start = bench::Clock::now();
    for (const auto& e : fs::directory_iterator(read_src))
      if (platform::IsVideoFileName(e.path().string())
              ? platform::VideoCaptureDate(e.path().string())
              : platform::ReadCaptureDate(e.path().string())) {
        ++dated;
      }
    reads.push_back(bench::Seconds(bench::Clock::now() - start));
  }
  fixture.reset();

  std::printf("files: %d JPEG photos of about %d KiB, %d MP4 videos of about %d MiB, rounds: %d\n",
              files, kib, videos, video_mib, args.rounds);
  std::printf("each figure: the turn until its copies are on the disk (the flush included)\n");
  bench::PrintMedians(turns, 1);
  const double base_cpu = bench::Median(extra["cp -p"].cpu);
  for (const bench::TimedTurn& turn : turns) {
    const Extra& e = extra[turn.name];
    std::printf(
        "%-20s of which the flush: median %.3f s; user + system CPU: median %.3f s, "
        "ratio to cp -p %.2f\n",
        turn.name.c_str(), bench::Median(e.flushes), bench::Median(e.cpu),
        base_cpu > 0 ? bench::Median(e.cpu) / base_cpu : 0.0);
  }
  std::printf("capture dates alone: median %.3f s for %zu files (%.0f us a file)\n",
              bench::Median(reads), dated, bench::Median(reads) / (files + videos) * 1e6);
  std::printf("goal: Exif run <= 1.3 x cp -p\n");
  if (!ok || !all_captured || exif_run.failed() != 0) {
    std::fprintf(stderr, "failures: %d, every copy named by its capture date: %s\n",
                 exif_run.failed(), all_captured ? "yes" : "no");
    return 1;
  }
  return 0;
}
