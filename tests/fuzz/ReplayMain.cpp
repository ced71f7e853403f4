// Runs a fuzz target's LLVMFuzzerTestOneInput over every file of the directories and files
// given, without libFuzzer: the corpus and the kept crashes replay in every build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize);

int main(int argc, char** argv) {
    std::vector<fs::path> vecFiles;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        fs::path path(argv[i]);
        if (fs::is_directory(path, ec)) {
            std::vector<fs::path> vecDir;
            for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
                if (entry.is_regular_file()) vecDir.push_back(entry.path());
            }
            std::sort(vecDir.begin(), vecDir.end());
            vecFiles.insert(vecFiles.end(), vecDir.begin(), vecDir.end());
        } else if (fs::is_regular_file(path, ec)) {
            vecFiles.push_back(path);
        } else {
            fprintf(stderr, "%s: no such file or directory\n", argv[i]);
            return 2;
        }
    }
    if (vecFiles.empty()) {
        fprintf(stderr, "usage: %s <corpus folder or input>...: no inputs found\n", argv[0]);
        return 2;
    }
    for (const fs::path& path : vecFiles) {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> vecData((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        fprintf(stderr, "replaying %s (%zu bytes)\n", path.c_str(), vecData.size());
        // A buffer of exactly the input's size, as libFuzzer hands it over.
        std::unique_ptr<uint8_t[]> pData(new uint8_t[vecData.size()]);
        std::copy(vecData.begin(), vecData.end(), pData.get());
        LLVMFuzzerTestOneInput(pData.get(), vecData.size());
    }
    fprintf(stderr, "replayed %zu inputs\n", vecFiles.size());
    return 0;
}
