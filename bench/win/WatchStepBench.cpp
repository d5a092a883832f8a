// Not a test: what the watched folder's step costs on the real system with a large folder.
// Creates, in a temporary folder, 10,000 empty files, half of them matching "*.jpg;*.png" and
// half "*.txt", under shuffled names of mixed case, and times, each a median of the runs:
//
//   1. TFileListBox::Update on it with the two-pattern mask (the listing of every step), and
//      its two parts: the FindFirstFile walks alone, and the sort alone (Kernel::CompareText
//      on the same unsorted names, with the number of comparisons); beside it the same sort
//      on names widened once (CompareStringW) and on sort keys made once (LCMapStringW), what
//      keys made before the sort would give;
//   2. the open mode's comparison on the real main form: FindNewWatchedFile on two listings of
//      the folder (10,000 names, then 10,001 with one new name that sorts last), and the
//      listing that mode re-reads at every step (three patterns, all 10,000 names);
//   3. a whole move-mode step, TForm1::WatchStep, moving 1,000 files into an empty target
//      folder, and beside it MoveFileExW alone on the same files; the files are made and the
//      target emptied again between runs, untimed.
//
// Arguments: files, runs, files to move (defaults 10000, 9, 1000). Run it through
// bench/e2e/watch.sh, or inside a Wine session of its own: it makes a main form, whose single
// instance check must not meet a running Varnel of the same prefix.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "app/Unit1.h"
#include "base/Paths.h"
#include "framework/Application.h"
#include "framework/FileListBox.h"
#include "platform/win32/Win32Platform.h"

namespace {

namespace fs = std::filesystem;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  if (n == 0) return 0;
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double TimeMs(const std::function<void()>& work) {
  const auto started = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

// Runs `work` `runs` times after one untimed run; the median in milliseconds.
double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int run = -1; run < runs; ++run) {
    const double ms = TimeMs(work);
    if (run >= 0) times.push_back(ms);
  }
  return Median(times);
}

std::wstring Widen(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string WindowsPath(const fs::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// `count` names, shuffled so that no listing comes out sorted, cased as cameras and people
// name files: even indices match the mask, odd ones do not.
std::vector<std::string> FileNames(int count) {
  std::vector<int> order(count);
  for (int i = 0; i < count; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(2056));
  static const char* const kForms[] = {"IMG_%05d.JPG", "photo %05d.jpg", "Scan-%05d.png",
                                       "screenshot_%05d.PNG", "notes %05d.txt", "Log_%05d.TXT"};
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    const int form = i % 2 == 0 ? (i / 2) % 4 : 4 + (i / 2) % 2;
    char name[64];
    std::snprintf(name, sizeof name, kForms[form], order[i]);
    names.push_back(name);
  }
  return names;
}

void MakeFiles(const fs::path& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) std::ofstream(folder / name).flush();
}

size_t CountFiles(const fs::path& folder) {
  std::error_code error;
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder, error)) count += entry.is_regular_file();
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const int fileCount = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
  const int moveCount = argc > 3 ? std::atoi(argv[3]) : 1000;
  bool sound = true;

  std::error_code error;
  const fs::path root = fs::temp_directory_path(error) / "varnel-watch-step-bench";
  fs::remove_all(root, error);
  const fs::path listed = root / "listed";
  const fs::path source = root / "source";
  const fs::path target = root / "target";
  for (const fs::path& folder : {listed, source, target}) fs::create_directories(folder);
  const auto madeStarted = std::chrono::steady_clock::now();
  MakeFiles(listed, FileNames(fileCount));
  const double madeSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - madeStarted).count();

  varnel::win32::Win32Platform system;
  varnel::platform::Platform& platform = system.Get();
  const varnel::platform::Kernel& kernel = platform.kernel;

  // ---- 1. the listing and its sort ------------------------------------------------------
  varnel::TFileListBox listing(nullptr, "FileListBox1", platform);
  listing.SetDirectory(WindowsPath(listed));
  listing.SetMask("*.jpg;*.png");
  listing.Update();
  const std::vector<std::string> sorted = listing.Items();

  // The parts one after the other in each run, so that a busy machine slows them alike.
  std::vector<double> updateTimes, findTimes, sortTimes, wideSortTimes, keySortTimes;
  long comparisons = 0;
  bool keysAgree = true;
  for (int run = -1; run < runs; ++run) {
    const double updateMs = TimeMs([&] { listing.Update(); });
    // The names as Update collects them before it sorts: pattern by pattern, in the system's
    // order.
    std::vector<std::string> names;
    const double findMs = TimeMs([&] {
      for (const char* pattern : {"*.jpg", "*.png"}) {
        for (const auto& found : platform.files.FindFiles(varnel::JoinPath(listing.Directory(), pattern))) {
          if ((found.attributes & (varnel::platform::FileAttributeDirectory |
                                   varnel::platform::FileAttributeHidden |
                                   varnel::platform::FileAttributeSystem)) == 0) {
            names.push_back(found.name);
          }
        }
      }
    });
    const std::vector<std::string> unsorted = names;
    comparisons = 0;
    const double sortMs = TimeMs([&] {
      std::stable_sort(names.begin(), names.end(), [&](const auto& a, const auto& b) {
        ++comparisons;
        return kernel.CompareText(a, b) < 0;
      });
    });
    sound = sound && names == sorted && listing.Items() == sorted;
    const double wideSortMs = TimeMs([&] {
      std::vector<std::wstring> wide;
      wide.reserve(unsorted.size());
      for (const std::string& name : unsorted) wide.push_back(Widen(name));
      std::stable_sort(wide.begin(), wide.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                              b.data(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
      });
    });
    const double keySortMs = TimeMs([&] {
      std::vector<std::pair<std::string, size_t>> keys;
      keys.reserve(unsorted.size());
      for (size_t i = 0; i < unsorted.size(); ++i) {
        const std::wstring wide = Widen(unsorted[i]);
        const int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(),
                                      static_cast<int>(wide.size()), nullptr, 0);
        std::string key(size, '\0');
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(),
                     static_cast<int>(wide.size()), reinterpret_cast<LPWSTR>(key.data()), size);
        keys.emplace_back(std::move(key), i);
      }
      std::stable_sort(keys.begin(), keys.end(),
                       [](const auto& a, const auto& b) { return std::strcmp(a.first.c_str(), b.first.c_str()) < 0; });
      for (size_t i = 0; i < keys.size(); ++i) keysAgree = keysAgree && unsorted[keys[i].second] == sorted[i];
    });
    if (run < 0) continue;
    updateTimes.push_back(updateMs);
    findTimes.push_back(findMs);
    sortTimes.push_back(sortMs);
    wideSortTimes.push_back(wideSortMs);
    keySortTimes.push_back(keySortMs);
  }
  const double updateMs = Median(updateTimes), findMs = Median(findTimes), sortMs = Median(sortTimes);
  const double wideSortMs = Median(wideSortTimes), keySortMs = Median(keySortTimes);

  // ---- 2. and 3. on the real main form ------------------------------------------------
  varnel::TApplication application(platform);
  varnel::TForm1& form = application.CreateForm<varnel::TForm1>();
  // The steps are called here, not by the tick; nothing else of the program is to run.
  form.FirstActivate = false;
  form.Timer1->SetEnabled(false);
  form.Settings.Watch.Enb = 1;

  form.Settings.Watch.Mode = 1;
  form.Settings.Watch.SRCPath = WindowsPath(listed);
  form.ListBox1->Items().Assign({"jpg", "png", "txt"});
  form.BuildWatchMask();
  const double reListMs = MedianMs(runs, [&] { form.FileListBox2->Update(); });
  const std::string newName = "zzzz-new.jpg";
  std::ofstream(listed / newName).flush();
  form.FileListBox2->Update();
  std::string found;
  const double compareMs = MedianMs(runs, [&] { found = form.FindNewWatchedFile(); });
  sound = sound && found == newName;
  const int previousCount = form.FileListBox1->Count();
  const int currentCount = form.FileListBox2->Count();

  form.Settings.Watch.Mode = 0;
  form.Settings.Watch.SRCPath = WindowsPath(source);
  form.Settings.Watch.TrgPath = WindowsPath(target);
  form.ListBox1->Items().Assign({"jpg", "png"});
  form.BuildWatchMask();
  std::vector<std::string> toMove = FileNames(moveCount * 2);
  std::erase_if(toMove, [](const std::string& name) { return name.find("txt") != std::string::npos ||
                                                            name.find("TXT") != std::string::npos; });
  // The step, and the system's own moves of the same files: what the step adds to them.
  std::vector<double> stepTimes, bareTimes;
  for (int run = -1; run < runs; ++run) {
    for (const bool bare : {false, true}) {
      fs::remove_all(target, error);
      fs::create_directories(target);
      MakeFiles(source, toMove);
      const double ms = TimeMs([&] {
        if (!bare) return form.WatchStep();
        for (const std::string& name : toMove) {
          MoveFileExW((source / name).wstring().c_str(), (target / name).wstring().c_str(),
                      MOVEFILE_COPY_ALLOWED);
        }
      });
      if (run >= 0) (bare ? bareTimes : stepTimes).push_back(ms);
      sound = sound && CountFiles(source) == 0 && CountFiles(target) == toMove.size();
    }
  }
  const double stepMs = Median(stepTimes);
  const double bareMs = Median(bareTimes);
  fs::remove_all(root, error);

  std::printf("Watched folder step: %d files (%zu matching *.jpg;*.png), %d runs, medians (files made in %.1f s)\n",
              fileCount, sorted.size(), runs, madeSeconds);
  const auto line = [](const std::string& label, double ms, const std::string& note = "") {
    std::printf("  %-52s %9.2f ms%s\n", label.c_str(), ms, note.c_str());
  };
  char note[96];
  std::snprintf(note, sizeof note, "  (%ld comparisons, %.2f us each)", comparisons,
                comparisons > 0 ? sortMs * 1000 / comparisons : 0.0);
  line("1. TFileListBox::Update, 2 patterns:", updateMs);
  line("     FindFirstFile walks alone:", findMs);
  line("     sort alone, Kernel::CompareText:", sortMs, note);
  line("     sort on names widened once, CompareStringW:", wideSortMs);
  line("     sort on sort keys made once, LCMapStringW:", keySortMs,
       keysAgree ? "  (same order)" : "  (another order!)");
  line("2. FindNewWatchedFile, " + std::to_string(previousCount) + " against " +
           std::to_string(currentCount) + " names:", compareMs);
  line("   the open mode's listing, 3 patterns, " + std::to_string(previousCount) + " names:", reListMs);
  std::snprintf(note, sizeof note, "  (%.3f ms a file)",
                toMove.empty() ? 0.0 : stepMs / static_cast<double>(toMove.size()));
  line("3. TForm1::WatchStep moving " + std::to_string(toMove.size()) + " files:", stepMs, note);
  line("   MoveFileExW alone on the same files:", bareMs);
  if (!sound) std::printf("  a step did not do its work: see the counts above\n");
  return sound ? 0 : 1;
}
