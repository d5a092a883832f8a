// Not a test: how long building the Launch menu takes on the real system, with the icon cache
// (one shell icon a file type per build) and without it (one a file). Creates a tree of
// 2,000 empty .lnk files in 100 folders in a temporary folder (the icons are looked up from the
// names alone, so the files need no content), builds the menu from it five times each way,
// alternating, and prints the medians and their ratio. Arguments: folders, files a folder,
// runs (defaults 100, 20, 5).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "framework/Menus.h"
#include "launch/LaunchPopup.h"
#include "platform/win32/Win32Platform.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  if (n == 0) return 0;
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int folders = argc > 1 ? std::atoi(argv[1]) : 100;
  const int filesPerFolder = argc > 2 ? std::atoi(argv[2]) : 20;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;

  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path root = fs::temp_directory_path(error) / "varnel-launch-build-bench";
  fs::remove_all(root, error);
  for (int f = 0; f < folders; ++f) {
    char folder[32];
    std::snprintf(folder, sizeof folder, "Folder%03d", f);
    fs::create_directories(root / folder);
    for (int i = 0; i < filesPerFolder; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "Shortcut%03d.lnk", i);
      std::ofstream(root / folder / name).flush();
    }
  }
  std::string directory = root.string();
  std::replace(directory.begin(), directory.end(), '/', '\\');
  if (directory.empty() || directory.back() != '\\') directory += '\\';

  varnel::win32::Win32Platform system;
  varnel::TImageList images(nullptr, "ImageListLaunch");
  varnel::TLaunchPopup popup(nullptr, "PopupMenuLaunch", system.Get());
  popup.SearchDirectory = true;
  popup.Mask = "*.lnk";
  popup.Directory = directory;
  popup.SetImages(&images);
  // Every item and icon, as if every submenu were opened: what the icon cache is for.
  popup.BuildAtOnce = true;

  std::vector<double> cached, uncached;
  int cachedIcons = 0, uncachedIcons = 0;
  size_t items = 0;
  // Alternating, so that the file system's and the shell's own caches warm both ways alike;
  // one build each way first, untimed.
  for (int run = -1; run < runs; ++run) {
    for (const bool cache : {true, false}) {
      images.Clear();
      popup.Items().DeleteFrom(0);
      popup.CacheIcons = cache;
      const int requestsBefore = popup.IconRequests();
      const auto started = std::chrono::steady_clock::now();
      popup.Rebuild();
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
      items = popup.Paths().size();
      if (run < 0) continue;
      (cache ? cached : uncached).push_back(ms);
      (cache ? cachedIcons : uncachedIcons) = popup.IconRequests() - requestsBefore;
    }
  }
  fs::remove_all(root, error);

  const double withCache = Median(cached);
  const double withoutCache = Median(uncached);
  std::printf("Launch menu build: %d folders x %d files (%zu file items), %d runs each way\n",
              folders, filesPerFolder, items, runs);
  std::printf("  with the icon cache:    median %8.1f ms  (%d shell icon lookups a build)\n",
              withCache, cachedIcons);
  std::printf("  without the icon cache: median %8.1f ms  (%d shell icon lookups a build)\n",
              withoutCache, uncachedIcons);
  std::printf("  ratio without / with:   %.1f x\n", withCache > 0 ? withoutCache / withCache : 0.0);
  std::printf("  runs with:    ");
  for (double ms : cached) std::printf(" %.1f", ms);
  std::printf("\n  runs without: ");
  for (double ms : uncached) std::printf(" %.1f", ms);
  std::printf("\n");
  return items == static_cast<size_t>(folders) * static_cast<size_t>(filesPerFolder) ? 0 : 1;
}
