// Runs a fuzz target on the inputs named on the command line, files or
// folders of files, without libFuzzer: the seeds become a test of every
// build, also where libFuzzer does not exist (MinGW). A failed check aborts,
// as it does under libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Inputs(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path named = argv[i];
    if (!fs::is_directory(named)) {
      inputs.push_back(named);
      continue;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(named))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<fs::path> inputs = Inputs(argc, argv);
  for (const fs::path& input : inputs) {
    std::ifstream file(input, std::ios::binary);
    if (!file.is_open()) {
      std::fprintf(stderr, "Could not read %s\n", input.string().c_str());
      return 1;
    }
    const std::string data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::printf("%s\n", input.filename().string().c_str());
    std::fflush(stdout);  // the input a crash happened on is the last one printed
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "No inputs\n");
    return 1;
  }
  std::printf("%zu inputs passed\n", inputs.size());
  return 0;
}
