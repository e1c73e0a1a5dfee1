// Feeds files to a fuzz target's entry point, for builds without libFuzzer: each argument is a
// file or a folder of files (a missing folder holds none). Fails when nothing was replayed.
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_input.h"

namespace {

std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& argument) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argument)) {
        for (const auto& entry : std::filesystem::directory_iterator(argument)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
    } else if (std::filesystem::exists(argument)) {
        files.push_back(argument);
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    size_t nReplayed = 0;
    for (int i = 1; i < argc; ++i) {
        size_t nHere = 0;
        for (const std::filesystem::path& file : FilesOf(argv[i])) {
            std::ifstream stream(file, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)),
                                          std::istreambuf_iterator<char>());
            if (!stream.eof() && stream.fail()) {
                fprintf(stderr, "cannot read %s\n", file.c_str());
                return 1;
            }
            // A copy of its own size, so that a read past the input's end is caught.
            std::vector<uint8_t> input(bytes.begin(), bytes.end());
            fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), input.size());
            LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
            ++nHere;
        }
        printf("%zu inputs replayed from %s\n", nHere, argv[i]);
        nReplayed += nHere;
    }
    if (nReplayed == 0) {
        fprintf(stderr, "no input to replay\n");
        return 1;
    }
    return 0;
}
