// Replays a fuzz target's saved inputs with the normal compiler, so that
// every seed and every input that once crashed stays a regression test.
// Arguments: files or folders of inputs.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

static bool Replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      for (const auto& e : fs::directory_iterator(arg, ec)) {
        if (!e.is_regular_file()) continue;
        if (!Replay(e.path())) {
          std::fprintf(stderr, "cannot read %s\n", e.path().string().c_str());
          return 1;
        }
        ++count;
      }
    } else if (!Replay(arg)) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    } else {
      ++count;
    }
  }
  std::printf("replayed %d inputs\n", count);
  return count > 0 ? 0 : 1;
}
